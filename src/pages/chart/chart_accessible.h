#pragma once
// What a screen reader finds of the SSE chart: a table named by the chart's title, with the
// columns "Sweeps Of Training" and "Network SSE" and one row per bar, each cell reading the
// text the chart shows for it. The chart's current row is the table's selected row, and its
// current cell the focused cell while the chart has the focus; each cell names its column's
// header, which a screen reader speaks on moving to another column.

#include <QAccessible>

namespace corvel {

class SSEChart;

// The table for an SSEChart, nullptr for any other object; installed as a QAccessible factory.
QAccessibleInterface* SSEChartAccessibleFactory(const QString& className, QObject* object);

// Tells assistive technology that the chart's current cell has the focus, so that a screen
// reader reads it. Does nothing while the chart lacks the focus.
void AnnounceCurrentCell(SSEChart& chart);

}  // namespace corvel
