// The page frame: its four arrangements, the bars' maxima, scrolling of a page's direct
// controls (lines by their end points, group boxes with their contents), and windows too
// small for the bars.
#include <QGroupBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include "pages/frame/designs.h"
#include "pages/frame/page_frame.h"
#include "platform/line_control.h"
#include "platform/twips.h"

using namespace corvel;

namespace {

// A page with one control of each kind the scroll routines treat differently.
struct TestPage {
  QWidget page;
  PageFrame frame{&page, kNetwork1Design};
  QPushButton* button = new QPushButton(QStringLiteral("Go"), &page);
  QGroupBox* group = new QGroupBox(QStringLiteral("Group"), &page);
  QPushButton* inGroup = new QPushButton(QStringLiteral("Inside"), group);
  LineControl* line = new LineControl(&page);
  QScrollBar* ownBar = new QScrollBar(Qt::Horizontal, &page);

  TestPage() {
    PlaceTwips(button, 1000, 2000, 1500, 450);
    PlaceTwips(group, 3000, 3000, 3000, 1500);
    PlaceTwips(inGroup, 150, 300, 1500, 450);
    line->SetEnds(200, 5000, 9000, 5000);
    PlaceTwips(ownBar, 600, 6000, 3000, 300);
  }
  // Sets the client area (not shown, so no resize event) and lays the frame out.
  void ResizeClient(double widthTwips, double heightTwips) {
    page.resize(TwipsToPixels(widthTwips), TwipsToPixels(heightTwips));
    frame.Form_Resize();
  }
  bool Shown(QWidget* w) const { return !w->isHidden(); }
};

}  // namespace

class PageFrameTest final : public QObject {
  Q_OBJECT
 private slots:
  void arrangements_data();
  void arrangements();
  void startUpHidesFrameAtDesignSize();
  void scrollingMovesDirectControlsOnly();
  void arrowMovesControlsByOneTwip();
  void resizingAfterScrolling();
  void tinyAndMinimisedWindowsDoNotFail();
  void realResizeEventLaysOutTheFrame();
};

void PageFrameTest::arrangements_data() {
  QTest::addColumn<double>("clientWidth");
  QTest::addColumn<double>("clientHeight");
  QTest::addColumn<bool>("hor");
  QTest::addColumn<bool>("ver");
  const FrameDesign& d = kNetwork1Design;
  QTest::newRow("design size") << d.ClientWidth() << d.ClientHeight() << false << false;
  QTest::newRow("larger") << d.ClientWidth() + 1500 << d.ClientHeight() + 900 << false << false;
  QTest::newRow("narrow") << 9000.0 << d.ClientHeight() << true << false;
  QTest::newRow("short") << d.ClientWidth() << 7500.0 << false << true;
  QTest::newRow("both") << 9000.0 << 7500.0 << true << true;
}

void PageFrameTest::arrangements() {
  QFETCH(double, clientWidth);
  QFETCH(double, clientHeight);
  QFETCH(bool, hor);
  QFETCH(bool, ver);
  TestPage t;
  t.ResizeClient(clientWidth, clientHeight);
  QScrollBar* h = t.frame.HorFormScroll();
  QScrollBar* v = t.frame.VerFormScroll();
  QCOMPARE(t.Shown(h), hor);
  QCOMPARE(t.Shown(v), ver);
  QCOMPARE(t.Shown(t.frame.Corner()), hor && ver);

  const FrameDesign& d = kNetwork1Design;
  const double thickness = kScrollBarThickness;
  if (hor) {
    const QRectF g = TwipsGeometry(h);
    QCOMPARE(h->maximum(), qRound(d.DesignWidth - clientWidth));
    QCOMPARE(g.width(), ver ? clientWidth - thickness : clientWidth);
    QCOMPARE(g.top(), clientHeight - thickness);
    QCOMPARE(g.left(), d.HorScrollLeft);  // the frame never moves the bar's left edge
  }
  if (ver) {
    const QRectF g = TwipsGeometry(v);
    QCOMPARE(v->maximum(), qRound(d.DesignHeight - clientHeight));
    QCOMPARE(g.height(), hor ? clientHeight - thickness : clientHeight);
    QCOMPARE(g.left(), clientWidth - thickness);
  }
  if (hor && ver) {
    const QRectF c = TwipsGeometry(t.frame.Corner());
    QCOMPARE(c.topLeft(), QPointF(clientWidth - d.CornerWidth, clientHeight - d.CornerHeight));
  }
  // Laying out moves no control of the page.
  QCOMPARE(TwipsGeometry(t.button).topLeft(), QPointF(1000, 2000));
}

void PageFrameTest::startUpHidesFrameAtDesignSize() {
  TestPage t;
  t.ResizeClient(9000, 7500);
  QVERIFY(t.Shown(t.frame.Corner()));
  t.page.resize(TwipsToPixels(kNetwork1Design.ClientWidth()),
                TwipsToPixels(kNetwork1Design.ClientHeight()));
  t.frame.StartUp();
  QVERIFY(!t.Shown(t.frame.HorFormScroll()));
  QVERIFY(!t.Shown(t.frame.VerFormScroll()));
  QVERIFY(!t.Shown(t.frame.Corner()));
}

void PageFrameTest::scrollingMovesDirectControlsOnly() {
  TestPage t;
  t.ResizeClient(9000, 7500);
  const QRectF ownBarBefore = TwipsGeometry(t.ownBar);
  const QRectF innerBefore = TwipsGeometry(t.inGroup);

  t.frame.HorFormScroll()->setValue(100);
  t.frame.VerFormScroll()->setValue(250);
  QCOMPARE(TwipsGeometry(t.button).topLeft(), QPointF(900, 1750));
  QCOMPARE(TwipsGeometry(t.group).topLeft(), QPointF(2900, 2750));
  QCOMPARE(TwipsGeometry(t.inGroup), innerBefore);  // moves with its group box
  QCOMPARE(TwipsGeometry(t.ownBar), ownBarBefore);  // no scroll bar moves
  QCOMPARE(QPointF(t.line->X1(), t.line->Y1()), QPointF(100, 4750));
  QCOMPARE(QPointF(t.line->X2(), t.line->Y2()), QPointF(8900, 4750));
  QCOMPARE(t.frame.OldHorScrollValue(), 100);
  QCOMPARE(t.frame.OldVerScrollValue(), 250);

  // Moving back goes by the difference; running a routine again moves nothing.
  t.frame.HorFormScroll()->setValue(40);
  t.frame.ScrollFormHorizontally();
  t.frame.ScrollFormVertically();
  QCOMPARE(TwipsGeometry(t.button).topLeft(), QPointF(960, 1750));
  QCOMPARE(t.line->X1(), 160.0);
}

void PageFrameTest::arrowMovesControlsByOneTwip() {
  TestPage t;
  t.ResizeClient(9000, 7500);
  t.frame.HorFormScroll()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  t.frame.VerFormScroll()->triggerAction(QAbstractSlider::SliderPageStepAdd);
  QCOMPARE(TwipsGeometry(t.button).topLeft(), QPointF(999, 1999));
  // Fifteen single twips add up to one whole pixel.
  for (int i = 0; i < 14; ++i)
    t.frame.HorFormScroll()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  QCOMPARE(TwipsGeometry(t.button).left(), 985.0);
  QCOMPARE(t.button->x(), TwipsToPixels(1000) - 1);
}

void PageFrameTest::resizingAfterScrolling() {
  TestPage t;
  t.ResizeClient(9000, kNetwork1Design.ClientHeight());
  QScrollBar* h = t.frame.HorFormScroll();
  h->setValue(h->maximum());
  // A lowered maximum clamps the value and scrolls the controls back.
  const double wider = 10200;
  t.ResizeClient(wider, kNetwork1Design.ClientHeight());
  const int clamped = qRound(kNetwork1Design.DesignWidth - wider);
  QCOMPARE(h->value(), clamped);
  QCOMPARE(t.frame.OldHorScrollValue(), clamped);
  QCOMPARE(TwipsGeometry(t.button).left(), 1000.0 - clamped);
  // Enlarging past the design hides the bar but keeps the shift.
  t.ResizeClient(kNetwork1Design.ClientWidth() + 300, kNetwork1Design.ClientHeight() + 300);
  QVERIFY(!t.Shown(h));
  QCOMPARE(h->value(), clamped);
  QCOMPARE(t.frame.OldHorScrollValue(), clamped);
  QCOMPARE(TwipsGeometry(t.button).left(), 1000.0 - clamped);
}

void PageFrameTest::tinyAndMinimisedWindowsDoNotFail() {
  TestPage t;
  for (double size : {15.0, 150.0, 300.0}) {
    t.ResizeClient(size, size);
    QVERIFY(TwipsGeometry(t.frame.HorFormScroll()).width() >= 0);
    QVERIFY(TwipsGeometry(t.frame.VerFormScroll()).height() >= 0);
    t.frame.HorFormScroll()->setValue(t.frame.HorFormScroll()->maximum());
  }
  QCOMPARE(TwipsGeometry(t.button).left(), 1000.0 - t.frame.HorFormScroll()->value());

  t.ResizeClient(9000, 7500);
  const QRectF before = TwipsGeometry(t.frame.HorFormScroll());
  t.page.showMinimized();
  t.page.resize(1, 1);
  t.frame.Form_Resize();
  QCOMPARE(TwipsGeometry(t.frame.HorFormScroll()), before);
}

void PageFrameTest::realResizeEventLaysOutTheFrame() {
  TestPage t;
  t.page.show();
  QVERIFY(QTest::qWaitForWindowExposed(&t.page));
  QVERIFY(!t.frame.HorFormScroll()->isVisible());
  t.page.resize(TwipsToPixels(9000), t.page.height());
  QTRY_VERIFY(t.frame.HorFormScroll()->isVisible());
  QVERIFY(!t.frame.VerFormScroll()->isVisible());
}

QTEST_MAIN(PageFrameTest)
#include "page_frame_test.moc"
