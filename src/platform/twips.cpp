#include "platform/twips.h"

#include <QVariant>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace corvel {
namespace {
constexpr char kTwipsProperty[] = "corvelTwipsGeometry";

void Apply(QWidget* widget, const QRectF& t) {
  widget->setProperty(kTwipsProperty, t);
  widget->setGeometry(TwipsToPixels(t.left()), TwipsToPixels(t.top()),
                      std::max(0, TwipsToPixels(t.width())),
                      std::max(0, TwipsToPixels(t.height())));
}
}  // namespace

int TwipsToPixels(double twips) { return static_cast<int>(std::lround(twips / kTwipsPerPixel)); }

double PixelsToTwips(int pixels) { return pixels * kTwipsPerPixel; }

void PlaceTwips(QWidget* widget, double left, double top, double width, double height) {
  Apply(widget, QRectF(left, top, width, height));
}

void PlaceTwips(QWidget* widget, const QRectF& twips) { Apply(widget, twips); }

QRectF TwipsGeometry(const QWidget* widget) {
  const QVariant stored = widget->property(kTwipsProperty);
  const QRect g = widget->geometry();
  // A widget resized or moved by other means since it was placed is read from its pixels.
  if (stored.isValid()) {
    const QRectF t = stored.toRectF();
    if (TwipsToPixels(t.left()) == g.left() && TwipsToPixels(t.top()) == g.top() &&
        std::max(0, TwipsToPixels(t.width())) == g.width() &&
        std::max(0, TwipsToPixels(t.height())) == g.height())
      return t;
  }
  return QRectF(PixelsToTwips(g.left()), PixelsToTwips(g.top()), PixelsToTwips(g.width()),
                PixelsToTwips(g.height()));
}

void SetLeftTwips(QWidget* widget, double left) {
  QRectF t = TwipsGeometry(widget);
  t.moveLeft(left);
  Apply(widget, t);
}

void SetTopTwips(QWidget* widget, double top) {
  QRectF t = TwipsGeometry(widget);
  t.moveTop(top);
  Apply(widget, t);
}

}  // namespace corvel
