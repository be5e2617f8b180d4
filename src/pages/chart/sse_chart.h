#pragma once
// The SSE chart: one grey, black-edged bar per row of the SSE history, its label the row's
// sweep number and its height the row's total SSE, on a white backdrop without grid lines.
// Every row gets its bar, however many there are (up to 2000): bars too narrow for their
// edge are drawn without it, and only the axis labels are thinned to a readable subset. The
// SSE axis is linear, or logarithmic when asked (report/sse_axis.h has its ticks and labels).
//
// The chart is built once (Build) and then only drawn, or redrawn on the other scale. It takes
// the keyboard focus, and its context menu (right click, the Menu key or Shift+F10) offers the
// picture, the data and the scale. Screen readers find it as a table named by its title, with
// the columns "Sweeps Of Training" and "Network SSE" and one row per bar, each cell reading the
// text the chart shows for it (platform/grid_accessible.h). With the focus, the chart has a current
// cell to walk the bars with Up, Down, Page Up, Page Down (ten rows), Home and End, and the two
// columns with Left and Right; its bar is outlined and a screen reader reads the cell.

#include <QChartView>
#include <QStringList>
#include <vector>

#include "platform/grid_accessible.h"
#include "report/formats.h"
#include "report/sse_axis.h"
#include "report/sse_history.h"

class QBarSet;
class QGraphicsTextItem;

namespace corvel {

class SSEChart final : public QChartView, public AccessibleGrid {
  Q_OBJECT
 public:
  explicit SSEChart(QWidget* parent = nullptr);

  // Shows `points` as bars; labels and values are written as the general number text.
  void Build(std::vector<SSEPoint> points, const RegionalSettings& rs, bool logarithmic = false);
  // Draws the same bars on the logarithmic SSE scale, or back on the linear one.
  void SetLogarithmic(bool logarithmic);
  bool IsLogarithmic() const { return axis_.Logarithmic; }
  const SSEAxis& Axis() const { return axis_; }

  // What the chart shows, for screen readers and the data file.
  QString Title() const;
  const std::vector<SSEPoint>& points() const { return points_; }
  int RowCount() const { return static_cast<int>(points_.size()); }
  const QString& SweepText(int row) const { return sweepTexts_[row]; }
  const QString& SSEText(int row) const { return sseTexts_[row]; }

  // The cell the keyboard is on, row 0 and column 0 (the sweep) until moved. Moving it moves
  // the outline and tells screen readers; a cell the chart does not have is ignored.
  int CurrentRow() const { return currentRow_; }
  int CurrentColumn() const { return currentColumn_; }
  void SetCurrentRow(int row);
  void SetCurrentCell(int row, int column);
  // Where a row's bar stands, in scene coordinates.
  QRectF BarRect(int row) const;

  // The bars' data set (their heights in the SSE axis's units), the sweep labels the X axis
  // shows (a subset of all) and the labels of the SSE axis.
  QBarSet* Bars() const { return bars_; }
  QStringList AxisLabels() const;
  QStringList SSEAxisLabels() const;
  // The axes' titles; the Y title is drawn with its characters upright and stacked.
  QString XTitle() const;
  QString YTitle() const;

  // The chart as it is drawn now, without the keyboard's outline: as a picture, or drawn
  // with `painter`.
  QImage Picture();
  void DrawPicture(QPainter& painter);

  // The table screen readers read.
  int GridRows() const override { return RowCount(); }
  int GridColumns() const override { return 2; }
  QString GridCellText(int row, int column) const override;
  QString GridColumnHeader(int column) const override;
  int GridCurrentRow() const override { return currentRow_; }
  int GridCurrentColumn() const override { return currentColumn_; }
  void GridSetCurrent(int row, int column) override { SetCurrentCell(row, column); }
  bool GridSelectsRows() const override { return true; }
  QRect GridCellRect(int row, int column) const override;

 signals:
  void copyPictureRequested();
  void savePictureRequested();
  void saveDataRequested();
  // The user switched the SSE scale from the menu.
  void logarithmicChosen(bool logarithmic);

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  // Outlines the current row's bar while the chart has the focus.
  void drawForeground(QPainter* painter, const QRectF& rect) override;

 private:
  // Makes the chart of the points on the current scale, in place of the one shown.
  void MakeChart();
  // Fits the bars' edges and the Y title to the plot area's current size.
  void FitToPlotArea();

  std::vector<SSEPoint> points_;
  RegionalSettings rs_;
  SSEAxis axis_;
  QStringList sweepTexts_;
  QStringList sseTexts_;
  QBarSet* bars_ = nullptr;
  QGraphicsTextItem* yTitle_ = nullptr;
  int currentRow_ = 0;
  int currentColumn_ = 0;
  bool drawingPicture_ = false;
};

}  // namespace corvel
