#pragma once
// Pages are laid out in twips (1/1440 inch), at 15 twips per logical pixel. A control placed
// in twips remembers its exact twips rectangle, so moves by less than a pixel (the page frame
// scrolls by single twips) add up exactly instead of being lost to rounding.

#include <QRectF>

class QWidget;

namespace corvel {

constexpr double kTwipsPerPixel = 15.0;

// Nearest whole pixel for a twips value (halves away from zero).
int TwipsToPixels(double twips);
double PixelsToTwips(int pixels);

// Places `widget` inside its parent at the given twips rectangle and remembers it.
void PlaceTwips(QWidget* widget, double left, double top, double width, double height);
void PlaceTwips(QWidget* widget, const QRectF& twips);

// The remembered twips rectangle of a widget placed with PlaceTwips, or its pixel geometry
// converted to twips when it was never placed that way.
QRectF TwipsGeometry(const QWidget* widget);

// Moves a widget to a new left or top edge in twips, keeping its size.
void SetLeftTwips(QWidget* widget, double left);
void SetTopTwips(QWidget* widget, double top);

}  // namespace corvel
