#pragma once
// Saving what a page shows to a file the user names (the chart's picture and numbers, the
// weights and responses): the name is asked for, a name without an extension gets the one
// the kind of file calls for, a name with another is refused, and a failure is told in a
// message naming the file and the system's reason. An earlier file of that name is replaced
// only by a complete new one.

#include <QSize>
#include <QString>
#include <functional>
#include <optional>

#include "report/replace_file.h"

class QPainter;
class QWidget;

namespace corvel {

class Platform;

// Writes a file; nothing on success, else what went wrong as a sentence fragment.
using FileSaver = std::function<std::optional<QString>(const QString& path)>;

// Asks for the name of a file of `kind` ("Pictures (*.png *.svg)"), starting at
// `suggestedName` in `folder` (the working directory when empty); adds `extension` to a name
// typed without one, then saves. Nothing happens when the user cancels.
void SaveAs(QWidget* page, Platform& platform, const QString& title, const QString& folder,
            const QString& suggestedName, const QString& kind, const QString& extension,
            const FileSaver& save);

// The bytes `source` gives, in a file whose name must end in `.extension`.
std::optional<QString> SaveText(const QString& path, const QString& extension,
                                const ByteSource& source);

// The picture `draw` paints over `size` pixels, as PNG or SVG as the name's extension says
// (letter case ignored); an SVG is titled `title` and prints at the size it has on screen.
std::optional<QString> SavePicture(const QString& path, QSize size, const QString& title,
                                   const std::function<void(QPainter&)>& draw);

}  // namespace corvel
