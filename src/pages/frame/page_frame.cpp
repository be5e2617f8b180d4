#include "pages/frame/page_frame.h"

#include <QEvent>
#include <QFrame>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

#include "platform/line_control.h"
#include "platform/twips.h"

namespace corvel {
namespace {

// A scroll bar's maximum is a 16-bit whole number, rounded from the twips difference.
int BarMaximum(double twips) {
  return static_cast<int>(std::clamp(std::nearbyint(twips), 0.0, 32767.0));
}

QScrollBar* MakeBar(Qt::Orientation orientation, const QString& name, QWidget* page) {
  auto* bar = new QScrollBar(orientation, page);
  bar->setObjectName(name);
  bar->setRange(0, 0);
  bar->setSingleStep(1);
  bar->setPageStep(1);
  bar->setAccessibleName(orientation == Qt::Horizontal
                             ? QStringLiteral("Scroll The Page Sideways")
                             : QStringLiteral("Scroll The Page Up And Down"));
  return bar;
}

}  // namespace

PageFrame::PageFrame(QWidget* page, const FrameDesign& design)
    : QObject(page),
      page_(page),
      design_(design),
      hor_(MakeBar(Qt::Horizontal, QStringLiteral("HorFormScroll"), page)),
      ver_(MakeBar(Qt::Vertical, QStringLiteral("VerFormScroll"), page)),
      corner_(new QFrame(page)) {
  corner_->setObjectName(QStringLiteral("Corner"));
  corner_->setAutoFillBackground(true);
  PlaceTwips(hor_, design.HorScrollLeft, design.ClientHeight() - kScrollBarThickness,
             design.ClientWidth(), kScrollBarThickness);
  PlaceTwips(ver_, design.ClientWidth() - kScrollBarThickness, design.VerScrollTop,
             kScrollBarThickness, design.ClientHeight());
  PlaceTwips(corner_, design.ClientWidth() - design.CornerWidth,
             design.ClientHeight() - design.CornerHeight, design.CornerWidth,
             design.CornerHeight);
  for (QWidget* w : {static_cast<QWidget*>(hor_), static_cast<QWidget*>(ver_), corner_})
    w->hide();
  page->resize(TwipsToPixels(design.ClientWidth()), TwipsToPixels(design.ClientHeight()));
  connect(hor_, &QScrollBar::valueChanged, this, &PageFrame::ScrollFormHorizontally);
  connect(ver_, &QScrollBar::valueChanged, this, &PageFrame::ScrollFormVertically);
  page->installEventFilter(this);
}

QRectF PageFrame::ClientArea() const {
  const QRect r = page_->contentsRect();
  return QRectF(PixelsToTwips(r.left()), PixelsToTwips(r.top()), PixelsToTwips(r.width()),
                PixelsToTwips(r.height()));
}

double PageFrame::OuterWidth() const { return ClientArea().width() + kWindowFrameWidth; }
double PageFrame::OuterHeight() const { return ClientArea().height() + kWindowFrameHeight; }

void PageFrame::StartUp() {
  hor_->hide();
  ver_->hide();
  corner_->hide();
  if (!(OuterWidth() >= design_.DesignWidth && OuterHeight() >= design_.DesignHeight))
    Form_Resize();
}

void PageFrame::Form_Resize() {
  // A minimised window keeps its frame as it was; it is laid out again when restored.
  if (page_->isMinimized()) return;
  const double w = OuterWidth(), h = OuterHeight();
  const QRectF client = ClientArea();
  const double cl = client.left(), ct = client.top(), cw = client.width(), ch = client.height();
  QRectF horRect = TwipsGeometry(hor_);
  QRectF verRect = TwipsGeometry(ver_);
  // Lengths never go below zero in a window too small for the bars.
  auto length = [](double twips) { return std::max(0.0, twips); };

  const bool narrow = w < design_.DesignWidth;
  const bool shortWindow = h < design_.DesignHeight;
  if (narrow && shortWindow) {
    verRect.setHeight(length(ch - horRect.height()));
    horRect.setWidth(length(cw - verRect.width()));
    horRect.moveTop(ct + ch - horRect.height());
    verRect.moveLeft(cl + cw - verRect.width());
    PlaceTwips(hor_, horRect);
    PlaceTwips(ver_, verRect);
    hor_->setMaximum(BarMaximum(design_.DesignWidth - cw));
    ver_->setMaximum(BarMaximum(design_.DesignHeight - ch));
    hor_->show();
    ver_->show();
    QRectF cornerRect = TwipsGeometry(corner_);
    cornerRect.moveTop(ct + ch - cornerRect.height());
    cornerRect.moveLeft(cl + cw - cornerRect.width());
    PlaceTwips(corner_, cornerRect);
    corner_->show();
    corner_->raise();
  } else if (narrow) {
    horRect.setWidth(length(cw));
    horRect.moveTop(ct + ch - horRect.height());
    PlaceTwips(hor_, horRect);
    hor_->setMaximum(BarMaximum(design_.DesignWidth - cw));
    hor_->show();
    ver_->hide();
    corner_->hide();
  } else if (shortWindow) {
    verRect.setHeight(length(ch));
    verRect.moveLeft(cl + cw - verRect.width());
    PlaceTwips(ver_, verRect);
    ver_->setMaximum(BarMaximum(design_.DesignHeight - ch));
    ver_->show();
    hor_->hide();
    corner_->hide();
  } else {
    hor_->hide();
    ver_->hide();
    corner_->hide();
  }
  // The bars lie over the page's controls.
  hor_->raise();
  ver_->raise();
  if (!corner_->isHidden()) corner_->raise();
}

void PageFrame::ScrollFormHorizontally() {
  Scroll(true, static_cast<double>(oldHor_) - hor_->value());
  oldHor_ = static_cast<std::int16_t>(hor_->value());
}

void PageFrame::ScrollFormVertically() {
  Scroll(false, static_cast<double>(oldVer_) - ver_->value());
  oldVer_ = static_cast<std::int16_t>(ver_->value());
}

void PageFrame::Scroll(bool horizontal, double delta) {
  if (delta == 0) return;
  for (QObject* child : page_->children()) {
    auto* control = qobject_cast<QWidget*>(child);
    // Only controls sitting directly on the page move; a control inside a group box moves
    // with it. Scroll bars (any of them) and Corner stay where the frame put them.
    if (!control || control->isWindow() || control == corner_ ||
        qobject_cast<QScrollBar*>(control))
      continue;
    if (auto* line = qobject_cast<LineControl*>(control)) {
      line->MoveBy(horizontal ? delta : 0, horizontal ? 0 : delta);
      continue;
    }
    const QRectF place = TwipsGeometry(control);
    if (horizontal)
      SetLeftTwips(control, place.left() + delta);
    else
      SetTopTwips(control, place.top() + delta);
  }
}

bool PageFrame::eventFilter(QObject* watched, QEvent* event) {
  if (watched == page_ && event->type() == QEvent::Resize) Form_Resize();
  return QObject::eventFilter(watched, event);
}

}  // namespace corvel
