#include "pages/chart/chart_files.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QSvgGenerator>

#include "pages/chart/sse_chart.h"
#include "platform/twips.h"
#include "report/replace_file.h"

namespace corvel {
namespace {

std::optional<QString> Write(const QString& path, const QByteArray& bytes) {
  if (const auto error = ReplaceFile(QFile::encodeName(path).toStdString(),
                                     std::string_view(bytes.constData(), bytes.size())))
    return QString::fromLocal8Bit(error->Reason);
  return std::nullopt;
}

QByteArray Svg(SSEChart& chart) {
  QBuffer svg;
  QSvgGenerator generator;
  generator.setOutputDevice(&svg);
  generator.setSize(chart.size());
  // Pixels at the pages' own scale, so the picture prints at the size it has on screen.
  generator.setResolution(static_cast<int>(1440 / kTwipsPerPixel));
  generator.setViewBox(chart.rect());
  generator.setTitle(chart.Title());
  QPainter painter(&generator);
  chart.DrawPicture(painter);
  painter.end();
  return svg.data();
}

}  // namespace

QString WithDefaultExtension(const QString& path, const QString& extension) {
  return QFileInfo(path).suffix().isEmpty() ? path + QLatin1Char('.') + extension : path;
}

std::optional<QString> SaveChartPicture(SSEChart& chart, const QString& path) {
  const QString type = QFileInfo(path).suffix().toLower();
  if (type == QLatin1String("svg")) return Write(path, Svg(chart));
  if (type != QLatin1String("png"))
    return QStringLiteral("the name must end in .png or .svg, which says the kind of picture");
  QBuffer png;
  png.open(QIODevice::WriteOnly);
  if (!chart.Picture().save(&png, "PNG")) return QStringLiteral("the picture could not be encoded");
  return Write(path, png.data());
}

std::optional<QString> SaveChartData(const SSEChart& chart, const QString& path) {
  if (QFileInfo(path).suffix().toLower() != QLatin1String("csv"))
    return QStringLiteral("the name must end in .csv, which says the kind of file");
  return Write(path, QByteArray::fromStdString(SSEHistoryCsv(chart.points())));
}

}  // namespace corvel
