#pragma once
// Writing the chart's picture and its data to files the user names.

#include <QString>
#include <optional>

namespace corvel {

class SSEChart;

// `path` with "." and `extension` added when its name has no extension of its own.
QString WithDefaultExtension(const QString& path, const QString& extension);

// Saves the chart as a picture, PNG or SVG as the name's extension says (letter case
// ignored). Nothing on success; otherwise what went wrong, as a sentence fragment. An earlier
// file of that name is replaced only by a complete new one.
std::optional<QString> SaveChartPicture(SSEChart& chart, const QString& path);

// Saves the numbers behind the chart as comma-separated values, the same way; the name must
// end in .csv, so that no picture is replaced by numbers.
std::optional<QString> SaveChartData(const SSEChart& chart, const QString& path);

}  // namespace corvel
