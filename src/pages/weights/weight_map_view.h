#pragma once
// The weights as a heat map (report/weight_map.h): a row per input unit, a column per output
// unit, as the report's weights section lays them out. At first the whole memory fits the
// view, reduced when it has more units than pixels; the wheel, + and - zoom in and out (to a
// cell of 48 pixels at most), 0 fits it again, and the scroll bars move over a zoomed map.
//
// The view has a current cell, outlined while it has the focus, which the arrow keys move
// (Page Up and Page Down by a screenful, Home and End to the row's ends, with Ctrl to the
// map's corners). Screen readers find the view as a table named "Weights": rows are input
// units, columns output units, and each cell reads its weight as the report writes it.
//
// Drawing reads the weights in slices (Work), so that the page can spread the reading of a
// very large memory over time; until a drawing is complete the view shows the previous one.

#include <QAbstractScrollArea>
#include <QImage>
#include <chrono>
#include <memory>

#include "platform/grid_accessible.h"
#include "report/formats.h"
#include "report/weight_map.h"

namespace corvel {

struct PublicStuff;

class WeightMapView final : public QAbstractScrollArea, public AccessibleGrid {
  Q_OBJECT
 public:
  explicit WeightMapView(QWidget* parent = nullptr);
  ~WeightMapView() override;

  // Shows the weights of `state` (nullptr: none, as when the memory is not set up). Reads the
  // counts now and the weights as Work goes on; call it again whenever they change.
  void Show(const PublicStuff* state, const RegionalSettings& rs);
  // Reads weights for about `slice`; true when the drawing is complete.
  bool Work(std::chrono::nanoseconds slice);
  bool NeedsWork() const { return reduction_ && !reduction_->Done(); }

  // The scale of the colours: the largest magnitude in view (0 before the first drawing).
  double Scale() const { return scale_; }
  // Pixels per unit; below 1 the map is reduced.
  double CellPixels() const { return cell_; }
  bool FitsTheView() const { return fit_; }
  void ZoomBy(double factor);
  void ZoomToFit();

  // The current cell, counted from 0: input (row) and output (column).
  int CurrentInput() const { return current_.y(); }
  int CurrentOutput() const { return current_.x(); }
  void SetCurrent(int input, int output);
  // The weight of the current cell as the report writes it ("-.50").
  QString CurrentWeightText() const;
  // The drawing as shown, without the focus outline.
  void DrawPicture(QPainter& painter);

  int GridRows() const override { return inputs_; }
  int GridColumns() const override { return outputs_; }
  QString GridCellText(int row, int column) const override;
  QString GridColumnHeader(int column) const override;
  QString GridRowHeader(int row) const override;
  int GridCurrentRow() const override { return current_.y(); }
  int GridCurrentColumn() const override { return current_.x(); }
  void GridSetCurrent(int row, int column) override { SetCurrent(row, column); }
  QRect GridCellRect(int row, int column) const override;

 signals:
  void currentChanged();
  // The drawing is complete, or the zoom changed: the scale and the zoom may be new.
  void drawn();
  // A wish for more Work: the map must be drawn anew.
  void workNeeded();
  void contextMenuRequested(const QPoint& globalPos);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  // Sets the zoom, keeping the unit at viewport point `anchor` where it is.
  void SetCell(double cell, QPointF anchor);
  void UpdateScrollBars();
  // Starts reading the units in view anew.
  void Redraw();
  // The units in view: a region of the weights.
  WeightRegion Visible() const;
  // Where unit rectangle (first input, first output, inputs, outputs) stands in the viewport.
  QRectF UnitsRect(int input, int output, int inputs, int outputs) const;
  void Paint(QPainter& painter, bool withFocus);
  void PaintWeights(QPainter& painter);

  const PublicStuff* state_ = nullptr;
  RegionalSettings rs_;
  int inputs_ = 0, outputs_ = 0;
  double cell_ = 1;
  bool fit_ = true;
  QPoint current_;  // x: output, y: input
  std::unique_ptr<WeightMapReduction> reduction_;
  QImage image_;        // the last complete drawing
  WeightRegion drawn_;  // the units it shows
  double scale_ = 0;
};

}  // namespace corvel
