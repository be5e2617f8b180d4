#pragma once
// The scrollable frame every page carries, so a page stays usable in a window smaller than
// its design size. When the window is narrower than the design width a horizontal bar
// (HorFormScroll) runs along the bottom edge, when it is shorter a vertical bar
// (VerFormScroll) runs along the right edge, and when both show the filler Corner covers
// the square where they meet. Moving a bar shifts every control that sits directly on the
// page by the change of the bar's value, in twips; controls inside a group box move with
// their group box, and lines move by their end points.
//
// The outer window size the rules compare with the design constants is the client size
// plus the design's window frame (120 twips across, 405 down), so the arrangement does not
// depend on the window manager's decorations: a bar appears exactly when the client area
// is smaller than the page's design client area in that direction.

#include <QObject>
#include <QRectF>
#include <cstdint>

class QScrollBar;
class QWidget;

namespace corvel {

// A page's design constants, in twips.
struct FrameDesign {
  double DesignWidth;   // outer window width at design time (client width + 120)
  double DesignHeight;  // outer window height at design time (client height + 405)
  double CornerWidth;
  double CornerHeight;
  double HorScrollLeft = 0;  // design left edge of HorFormScroll (kept by the frame)
  double VerScrollTop = 0;   // design top edge of VerFormScroll (kept by the frame)

  double ClientWidth() const { return DesignWidth - 120; }
  double ClientHeight() const { return DesignHeight - 405; }
};

constexpr double kWindowFrameWidth = 120;   // twips across the design's window frame
constexpr double kWindowFrameHeight = 405;  // twips down the design's window frame
constexpr double kScrollBarThickness = 330;

class PageFrame final : public QObject {
  Q_OBJECT
 public:
  // Creates HorFormScroll, VerFormScroll and Corner on `page` (hidden), sizes the page to
  // its design client area and follows the page's resize events.
  PageFrame(QWidget* page, const FrameDesign& design);

  QScrollBar* HorFormScroll() const { return hor_; }
  QScrollBar* VerFormScroll() const { return ver_; }
  QWidget* Corner() const { return corner_; }
  const FrameDesign& design() const { return design_; }

  // The last step of a page's Form_Load: hides the three frame controls and lays them out
  // anew when the window is smaller than the design size in either direction.
  void StartUp();
  // Chooses one of the four arrangements for the window's current size and sets the bars'
  // lengths, places and maxima. Moves no other control. A minimised window, or one too
  // small for the bars, leaves bar lengths at zero and never fails.
  void Form_Resize();

  // Shift the page's direct controls by the change of the bar's value since the last call.
  void ScrollFormHorizontally();
  void ScrollFormVertically();

  std::int16_t OldHorScrollValue() const { return oldHor_; }
  std::int16_t OldVerScrollValue() const { return oldVer_; }

  // The page's outer size and client area, in twips, as the rules read them.
  double OuterWidth() const;
  double OuterHeight() const;
  QRectF ClientArea() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Scroll(bool horizontal, double delta);

  QWidget* page_;
  FrameDesign design_;
  QScrollBar* hor_;
  QScrollBar* ver_;
  QWidget* corner_;
  std::int16_t oldHor_ = 0;
  std::int16_t oldVer_ = 0;
};

}  // namespace corvel
