#include "pages/saved_files.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

#include "platform/platform.h"
#include "platform/twips.h"

namespace corvel {
namespace {

std::optional<QString> Write(const QString& path, const ByteSource& source) {
  if (const auto error = ReplaceFileWith(QFile::encodeName(path).toStdString(), source))
    return QString::fromLocal8Bit(error->Reason);
  return std::nullopt;
}

std::optional<QString> WriteBytes(const QString& path, const QByteArray& bytes) {
  return Write(path, [&bytes](const ByteSink& sink) {
    return sink(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
  });
}

QString Extension(const QString& path) { return QFileInfo(path).suffix().toLower(); }

}  // namespace

void SaveAs(QWidget* page, Platform& platform, const QString& title, const QString& folder,
            const QString& suggestedName, const QString& kind, const QString& extension,
            const FileSaver& save) {
  const QDir start = folder.isEmpty() ? QDir::current() : QDir(folder);
  const std::optional<QString> asked =
      platform.fileDialog().AskSaveFileName(page, title, start.filePath(suggestedName), kind);
  if (!asked) return;
  const QString path =
      QFileInfo(*asked).suffix().isEmpty() ? *asked + QLatin1Char('.') + extension : *asked;
  if (const std::optional<QString> fault = save(path)) {
    platform.messageBox().Show(page,
                               QStringLiteral("The file %1 could not be written: %2.")
                                   .arg(QDir::toNativeSeparators(path), *fault),
                               QStringLiteral("File Not Saved"), MessageIcon::Warning);
  }
}

std::optional<QString> SaveText(const QString& path, const QString& extension,
                                const ByteSource& source) {
  if (Extension(path) != extension)
    return QStringLiteral("the name must end in .%1, which says the kind of file").arg(extension);
  return Write(path, source);
}

std::optional<QString> SavePicture(const QString& path, QSize size, const QString& title,
                                   const std::function<void(QPainter&)>& draw) {
  const QString type = Extension(path);
  if (type == QLatin1String("svg")) {
    QBuffer svg;
    QSvgGenerator generator;
    generator.setOutputDevice(&svg);
    generator.setSize(size);
    // Pixels at the pages' own scale, so the picture prints at the size it has on screen.
    generator.setResolution(static_cast<int>(1440 / kTwipsPerPixel));
    generator.setViewBox(QRect(QPoint(), size));
    generator.setTitle(title);
    QPainter painter(&generator);
    draw(painter);
    painter.end();
    return WriteBytes(path, svg.data());
  }
  if (type != QLatin1String("png"))
    return QStringLiteral("the name must end in .png or .svg, which says the kind of picture");
  QImage picture(size, QImage::Format_ARGB32_Premultiplied);
  picture.fill(Qt::white);
  QPainter painter(&picture);
  draw(painter);
  painter.end();
  QBuffer png;
  png.open(QIODevice::WriteOnly);
  if (!picture.save(&png, "PNG")) return QStringLiteral("the picture could not be encoded");
  return WriteBytes(path, png.data());
}

}  // namespace corvel
