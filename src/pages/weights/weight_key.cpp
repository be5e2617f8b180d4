#include "pages/weights/weight_key.h"

#include <QPainter>

#include "report/weight_map.h"

namespace corvel {

WeightKey::WeightKey(QWidget* parent) : QWidget(parent) {}

void WeightKey::SetScale(double scale, const RegionalSettings& rs) {
  scale_ = scale;
  scaleText_ = scale > 0 ? QString::fromStdString(WeightScaleText(scale, rs)) : QString();
  setAccessibleName(
      scale > 0
          ? QStringLiteral("Colour key: deepest blue -%1, white 0, deepest red +%1").arg(scaleText_)
          : QStringLiteral("Colour key"));
  update();
}

void WeightKey::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const int textHeight = fontMetrics().height();
  const QRect ramp(0, 0, width(), std::max(height() - textHeight - 2, 4));
  for (int x = 0; x < ramp.width(); ++x) {
    const Rgb c = WeightColour(2.0 * (x + 0.5) / ramp.width() - 1.0, 1.0);
    painter.setPen(QColor(c.r, c.g, c.b));
    painter.drawLine(x, ramp.top(), x, ramp.bottom());
  }
  painter.setPen(palette().color(QPalette::WindowText));
  painter.drawRect(ramp.adjusted(0, 0, -1, -1));
  if (scale_ <= 0) return;
  const QRect text(0, ramp.bottom() + 2, width(), textHeight);
  painter.drawText(text, Qt::AlignLeft, QLatin1Char('-') + scaleText_);
  painter.drawText(text, Qt::AlignHCenter, QStringLiteral("0"));
  painter.drawText(text, Qt::AlignRight, QLatin1Char('+') + scaleText_);
}

}  // namespace corvel
