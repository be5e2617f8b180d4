// The system's printing: a PrintDocument laid out on pages, for the default printer (QPrinter,
// which reaches CUPS) or for a PDF file (QPdfWriter into memory, then put in place whole).
#include <QBuffer>
#include <QFile>
#include <QFontMetricsF>
#include <QLocale>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTextLayout>
#include <algorithm>

#include <cups/cups.h>

#include "platform/printer.h"
#include "platform/twips.h"
#include "report/replace_file.h"

namespace corvel {
namespace {

// Every page keeps this margin on all four sides, on paper and in the PDF alike.
const QMarginsF kMargins(15, 15, 15, 15);  // millimetres

QPageSize LocalPaper() {
  return QPageSize(QLocale::system().measurementSystem() == QLocale::ImperialUSSystem
                       ? QPageSize::Letter
                       : QPageSize::A4);
}

QFont FontFor(const PrintFont& f, QPaintDevice* device) {
  QFont font(f.name);
  font.setPointSizeF(f.points);
  font.setBold(f.bold);
  return QFont(font, device);
}

// Tab stops shared by every line, so the cells of a table line up on paper: the stop that
// ends column k lies a two-character gap past the widest cell of that column anywhere in the
// printout. The probe page's blocks mix rows of different kinds (inputs, responses, errors)
// whose labels differ in width; shared stops keep their numbers in the same columns.
class TabStops {
 public:
  TabStops(const PrintDocument& document, QPaintDevice* device) {
    QList<qreal> widest;
    for (const PrintDocument::Item& item : document.items()) {
      if (item.kind != PrintDocument::Item::Kind::Line || !item.text.contains(QLatin1Char('\t')))
        continue;
      const QFontMetricsF metrics(FontFor(item.font, device), device);
      gap_ = std::max(gap_, metrics.horizontalAdvance(QStringLiteral("  ")));
      const QStringList cells = item.text.split(QLatin1Char('\t'));
      widest.resize(std::max(widest.size(), cells.size()));
      for (int i = 0; i < cells.size(); ++i)
        widest[i] = std::max(widest[i], metrics.horizontalAdvance(cells[i]));
    }
    qreal stop = 0;
    for (qreal width : widest) {
      stop += width + gap_;
      stops_.append(stop);
    }
  }

  // Where a cell after a TAB starts when the text before it ends at `x`.
  qreal After(qreal x) const {
    const auto next = std::upper_bound(stops_.begin(), stops_.end(), x);
    return next != stops_.end() ? *next : x + gap_;
  }

 private:
  QList<qreal> stops_;
  qreal gap_ = 0;
};

// Draws as much of `text` as fits in `width`, breaking after a word where it can, with its
// top-left corner at `at`. Returns how many characters it drew and how wide they are.
std::pair<int, qreal> DrawFitting(QPainter& painter, const QString& text, const QFont& font,
                                  QPaintDevice* device, QPointF at, qreal width) {
  QTextLayout layout(text, font, device);
  QTextOption option;
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  layout.setTextOption(option);
  layout.beginLayout();
  QTextLine line = layout.createLine();
  line.setLineWidth(width);
  layout.endLayout();
  line.draw(&painter, at);
  return {line.textLength(), line.naturalTextWidth()};
}

// Draws a picture at its own size (one pixel is 15 twips) with its corner at its place on
// the current page; one that would run off the page is scaled down, keeping its shape.
void DrawPicture(QPainter& painter, const PrintDocument::Item& item, QSizeF page,
                 qreal pixelsPerTwip) {
  const QPointF at(std::clamp(item.at.x() * pixelsPerTwip, 0.0, page.width()),
                   std::clamp(item.at.y() * pixelsPerTwip, 0.0, page.height()));
  const QSizeF room(page.width() - at.x(), page.height() - at.y());
  QSizeF size = QSizeF(item.picture.size()) * (kTwipsPerPixel * pixelsPerTwip);
  if (size.width() > room.width() || size.height() > room.height())
    size.scale(room, Qt::KeepAspectRatio);
  painter.drawImage(QRectF(at, size), item.picture);
}

// Lays the printout out on `device`'s pages, which `painter` is already painting. Lines run
// down the printable area, each in its own font; a TAB moves on to the next tab stop; a line
// wider than the page goes on in further rows rather than off the paper; a row that would
// cross the bottom margin starts a new page.
void Render(const PrintDocument& document, QPagedPaintDevice& device, QPainter& painter) {
  const QSizeF page = device.pageLayout().paintRectPixels(device.logicalDpiX()).size();
  const TabStops tabs(document, &device);
  qreal y = 0;  // top of the next row on the current page
  for (const PrintDocument::Item& item : document.items()) {
    if (item.kind == PrintDocument::Item::Kind::Picture) {
      DrawPicture(painter, item, page, device.logicalDpiX() / 1440.0);
      continue;
    }
    const QFont font = FontFor(item.font, &device);
    const QFontMetricsF metrics(font, &device);
    const qreal rowHeight = metrics.height();
    qreal x = 0;
    const auto startRow = [&](bool afterAnother) {
      if (afterAnother) y += rowHeight;
      if (y > 0 && y + rowHeight > page.height()) {
        device.newPage();
        y = 0;
      }
      x = 0;
    };
    startRow(false);
    const QStringList cells = item.text.split(QLatin1Char('\t'));
    for (int i = 0; i < cells.size(); ++i) {
      QString rest = cells[i];
      if (i > 0) x = tabs.After(x);
      // A cell that does not fit beside the ones before it starts the next row, at the first
      // tab stop when it fits there, so that a long row of numbers keeps clear of its label.
      const qreal cellWidth = metrics.horizontalAdvance(rest);
      if (x > 0 && !rest.isEmpty() && x + cellWidth > page.width()) {
        startRow(true);
        if (tabs.After(0) + cellWidth <= page.width()) x = tabs.After(0);
      }
      for (;;) {
        const auto [drawn, width] =
            DrawFitting(painter, rest, font, &device, QPointF(x, y), page.width() - x);
        if (drawn >= rest.size()) {
          x += width;
          break;
        }
        rest.remove(0, drawn);
        startRow(true);
      }
    }
    y += rowHeight;
  }
}

template <class Device>
void SetUpPages(Device& device, const PrintDocument& document) {
  device.setPageLayout(
      QPageLayout(LocalPaper(), QPageLayout::Portrait, kMargins, QPageLayout::Millimeter));
  if constexpr (std::is_same_v<Device, QPrinter>)
    device.setDocName(document.title());
  else
    device.setTitle(document.title());
}

}  // namespace

std::optional<QString> QtPrinterService::Print(const PrintDocument& document) {
  const QPrinterInfo target = QPrinterInfo::defaultPrinter();
  if (target.isNull()) return QStringLiteral("no printer is set up on this computer");
  QPrinter printer(target, QPrinter::HighResolution);
  SetUpPages(printer, document);
  QPainter painter;
  if (!painter.begin(&printer))
    return QStringLiteral("the printer %1 did not accept the job").arg(target.printerName());
  Render(document, printer, painter);
  painter.end();
  // Ending the painter hands the job to CUPS, and Qt drops CUPS's answer. CUPS keeps the
  // answer to this thread's last request, so a queue that refuses the job (one that is not
  // accepting jobs, say) is reported here instead of passing as printed.
  if (cupsLastError() > IPP_STATUS_OK_CONFLICTING) {
    QString why = QString::fromLocal8Bit(cupsLastErrorString());
    if (why.endsWith(QLatin1Char('.'))) why.chop(1);
    return QStringLiteral("the printer %1 refused the job (%2)").arg(target.printerName(), why);
  }
  return std::nullopt;
}

std::optional<QString> QtPrinterService::SavePdf(const PrintDocument& document,
                                                 const QString& path) {
  QBuffer pdf;
  pdf.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&pdf);
    writer.setResolution(600);
    SetUpPages(writer, document);
    QPainter painter;
    // Without a finished PDF the earlier file at `path` is kept rather than emptied.
    if (!painter.begin(&writer)) return QStringLiteral("the PDF pages could not be drawn");
    Render(document, writer, painter);
  }
  const QByteArray& bytes = pdf.data();
  if (const auto error = ReplaceFile(QFile::encodeName(path).toStdString(),
                                     std::string_view(bytes.constData(), bytes.size())))
    return QString::fromStdString(error->Reason);
  return std::nullopt;
}

}  // namespace corvel
