#pragma once
// A straight line drawn on a page between two end points given in twips in the parent's
// coordinates (X1, Y1) - (X2, Y2). The widget covers the line's bounding box.

#include <QColor>
#include <QWidget>

namespace corvel {

class LineControl final : public QWidget {
  Q_OBJECT
 public:
  explicit LineControl(QWidget* parent = nullptr);

  double X1() const { return x1_; }
  double Y1() const { return y1_; }
  double X2() const { return x2_; }
  double Y2() const { return y2_; }
  void SetEnds(double x1, double y1, double x2, double y2);
  // Moves both end points by (dx, dy) twips.
  void MoveBy(double dx, double dy);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  double x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0;
};

}  // namespace corvel
