#include "platform/line_control.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "platform/twips.h"

namespace corvel {

LineControl::LineControl(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

void LineControl::SetEnds(double x1, double y1, double x2, double y2) {
  x1_ = x1;
  y1_ = y1;
  x2_ = x2;
  y2_ = y2;
  // The widget covers the bounding box, one pixel wider so a straight line has room.
  const double left = std::min(x1, x2), top = std::min(y1, y2);
  PlaceTwips(this, left, top, std::abs(x2 - x1) + kTwipsPerPixel,
             std::abs(y2 - y1) + kTwipsPerPixel);
  update();
}

void LineControl::MoveBy(double dx, double dy) { SetEnds(x1_ + dx, y1_ + dy, x2_ + dx, y2_ + dy); }

void LineControl::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(QPen(palette().color(QPalette::WindowText), 1));
  const QRectF box = TwipsGeometry(this);
  auto local = [&](double x, double y) {
    return QPointF((x - box.left()) / kTwipsPerPixel, (y - box.top()) / kTwipsPerPixel);
  };
  painter.drawLine(local(x1_, y1_), local(x2_, y2_));
}

}  // namespace corvel
