#pragma once
// The SSE chart: one grey, black-edged bar per row of the SSE history, its label the row's
// sweep number and its height the row's total SSE, on a white backdrop without grid lines.
// Every row gets its bar, however many there are (up to 2000): bars too narrow for their
// edge are drawn without it, and only the axis labels are thinned to a readable subset.
//
// The chart is built once (Build) and then only drawn. It takes the keyboard focus, and its
// context menu (right click, the Menu key or Shift+F10) offers the picture and the data.
// Screen readers find it as a table of sweeps and SSEs, one row per bar (chart_accessible.h).
// With the focus, the chart has a current row to walk the bars with Up, Down, Page Up, Page
// Down (ten rows), Home and End; its bar is outlined and a screen reader reads it.

#include <QChartView>
#include <QStringList>
#include <vector>

#include "report/formats.h"
#include "report/sse_history.h"

class QBarSet;
class QGraphicsTextItem;

namespace corvel {

class SSEChart final : public QChartView {
  Q_OBJECT
 public:
  explicit SSEChart(QWidget* parent = nullptr);

  // Shows `points` as bars; labels and values are written as the general number text.
  void Build(std::vector<SSEPoint> points, const RegionalSettings& rs);

  // What the chart shows, for screen readers and the data file.
  QString Title() const;
  const std::vector<SSEPoint>& points() const { return points_; }
  int RowCount() const { return static_cast<int>(points_.size()); }
  const QString& SweepText(int row) const { return sweepTexts_[row]; }
  const QString& SSEText(int row) const { return sseTexts_[row]; }

  // The row the keyboard is on, 0 until moved. Moving it moves the outline and tells screen
  // readers; a row the chart does not have is ignored.
  int CurrentRow() const { return currentRow_; }
  void SetCurrentRow(int row);
  // Where a row's bar stands, in scene coordinates.
  QRectF BarRect(int row) const;

  // The bars' data set, and the sweep labels the X axis shows (a subset of all).
  QBarSet* Bars() const { return bars_; }
  QStringList AxisLabels() const;
  // The axes' titles; the Y title is drawn with its characters upright and stacked.
  QString XTitle() const;
  QString YTitle() const;

  // The chart as it is drawn now, without the keyboard's outline: as a picture, or drawn
  // with `painter`.
  QImage Picture();
  void DrawPicture(QPainter& painter);

 signals:
  void copyPictureRequested();
  void savePictureRequested();
  void saveDataRequested();

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  // Outlines the current row's bar while the chart has the focus.
  void drawForeground(QPainter* painter, const QRectF& rect) override;

 private:
  // Fits the bars' edges and the Y title to the plot area's current size.
  void FitToPlotArea();

  std::vector<SSEPoint> points_;
  QStringList sweepTexts_;
  QStringList sseTexts_;
  QBarSet* bars_ = nullptr;
  QGraphicsTextItem* yTitle_ = nullptr;
  int currentRow_ = 0;
  bool drawingPicture_ = false;
};

}  // namespace corvel
