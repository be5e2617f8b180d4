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

#include "platform/printer.h"
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
  font.setStyleHint(QFont::AnyStyle, QFont::PreferMatch);
  return QFont(font, device);
}

// Fixed tab stops shared by every line, so the columns of a table line up on paper: the
// first stop just past the widest first cell, then one stop per column as wide as the
// widest other cell. The cells of the probe page's blocks are short numbers, so this keeps
// rows of different kinds (inputs, responses, errors) in the same columns.
QList<QTextOption::Tab> TabStops(const PrintDocument& document, QPaintDevice* device) {
  qreal firstCell = 0, otherCell = 0, gap = 0;
  int columns = 0;
  for (const PrintDocument::Item& item : document.items()) {
    if (item.kind != PrintDocument::Item::Kind::Line || !item.text.contains(QLatin1Char('\t')))
      continue;
    const QFontMetricsF metrics(FontFor(item.font, device), device);
    gap = std::max(gap, metrics.horizontalAdvance(QStringLiteral("  ")));
    const QStringList cells = item.text.split(QLatin1Char('\t'));
    columns = std::max(columns, static_cast<int>(cells.size()));
    for (int i = 0; i < cells.size(); ++i) {
      qreal& widest = i == 0 ? firstCell : otherCell;
      widest = std::max(widest, metrics.horizontalAdvance(cells[i]));
    }
  }
  QList<QTextOption::Tab> stops;
  for (int i = 0; i < columns; ++i)
    stops.append(QTextOption::Tab(firstCell + gap + i * (otherCell + gap), QTextOption::LeftTab));
  return stops;
}

double TwipsToDevice(double twips, const QPaintDevice& device) {
  return twips * device.logicalDpiX() / 1440.0;
}

// Lays the document out on `device`'s pages, which `painter` is already painting.
void Render(const PrintDocument& document, QPagedPaintDevice& device, QPainter& painter) {
  const QRectF page = device.pageLayout().paintRectPixels(device.logicalDpiX());
  const qreal width = page.width(), height = page.height();
  QTextOption option;
  option.setTabs(TabStops(document, &device));
  // A line wider than the page runs on below rather than off the paper.
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  qreal y = 0;
  for (const PrintDocument::Item& item : document.items()) {
    if (item.kind == PrintDocument::Item::Kind::Picture) {
      QSizeF size(TwipsToDevice(item.picture.width() * 15.0, device),
                  TwipsToDevice(item.picture.height() * 15.0, device));
      const QPointF at(TwipsToDevice(item.at.x(), device), TwipsToDevice(item.at.y(), device));
      // Drawn at its own size unless that would run off the page; then scaled to fit.
      size = size.boundedTo(QSizeF(width - at.x(), height - at.y()));
      painter.drawImage(QRectF(at, QSizeF(item.picture.size()).scaled(size, Qt::KeepAspectRatio)),
                        item.picture);
      continue;
    }
    QTextLayout layout(item.text, FontFor(item.font, &device), &device);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine())
      line.setLineWidth(width);
    layout.endLayout();
    for (int i = 0; i < layout.lineCount(); ++i) {
      const QTextLine line = layout.lineAt(i);
      if (y > 0 && y + line.height() > height) {
        device.newPage();
        y = 0;
      }
      line.draw(&painter, QPointF(0, y - line.y()));
      y += line.height();
    }
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
  if (printer.printerState() == QPrinter::Error)
    return QStringLiteral("the printer %1 reported an error").arg(target.printerName());
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
    QPainter painter(&writer);
    Render(document, writer, painter);
  }
  const QByteArray& bytes = pdf.data();
  if (const auto error = ReplaceFile(QFile::encodeName(path).toStdString(),
                                     std::string_view(bytes.constData(), bytes.size())))
    return QString::fromStdString(error->Reason);
  return std::nullopt;
}

}  // namespace corvel
