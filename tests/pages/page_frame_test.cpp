// The page frame: its four arrangements, the bars' maxima, scrolling of a page's direct
// controls (lines by their end points, group boxes with their contents), and windows too
// small for the bars.
#include <QGroupBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include "pages/frame/designs.h"
#include "pages/frame/page_frame.h"
#include "platform/line_control.h"
#include "platform/twips.h"

using namespace corvel;

namespace {

const FrameDesign& d = kNetwork1Design;

// A page with one control of each kind the scroll routines treat differently.
struct TestPage {
  QWidget page;
  PageFrame frame{&page, d};
  QScrollBar* h = frame.HorFormScroll();
  QScrollBar* v = frame.VerFormScroll();
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
  QPointF ButtonAt() const { return TwipsGeometry(button).topLeft(); }
};

}  // namespace

class PageFrameTest final : public QObject {
  Q_OBJECT
 private slots:
  void arrangements_data();
  void arrangements();
  void scrollingMovesDirectControlsOnly();
  void resizingAfterScrolling();
  void tinyAndMinimisedWindowsDoNotFail();
};

void PageFrameTest::arrangements_data() {
  QTest::addColumn<double>("width");
  QTest::addColumn<double>("height");
  QTest::addColumn<bool>("hor");
  QTest::addColumn<bool>("ver");
  QTest::newRow("narrow") << 9000.0 << d.ClientHeight() << true << false;
  QTest::newRow("short") << d.ClientWidth() << 7500.0 << false << true;
  QTest::newRow("both") << 9000.0 << 7500.0 << true << true;
}

// Each arrangement as laid out at start-up, which first hides the frame and lays it out only
// for a window smaller than the design (a shown page's resizes run the same layout).
void PageFrameTest::arrangements() {
  QFETCH(double, width);
  QFETCH(double, height);
  QFETCH(bool, hor);
  QFETCH(bool, ver);
  TestPage t;
  t.ResizeClient(9000, 7500);
  t.page.resize(TwipsToPixels(width), TwipsToPixels(height));
  t.frame.StartUp();
  QCOMPARE(!t.h->isHidden(), hor);
  QCOMPARE(!t.v->isHidden(), ver);
  QCOMPARE(!t.frame.Corner()->isHidden(), hor && ver);
  if (hor) {
    const QRectF g = TwipsGeometry(t.h);
    QCOMPARE(t.h->maximum(), qRound(d.DesignWidth - width));
    QCOMPARE(g, QRectF(d.HorScrollLeft, height - kScrollBarThickness,
                       ver ? width - kScrollBarThickness : width, kScrollBarThickness));
  }
  if (ver) {
    const QRectF g = TwipsGeometry(t.v);
    QCOMPARE(t.v->maximum(), qRound(d.DesignHeight - height));
    QCOMPARE(g.height(), hor ? height - kScrollBarThickness : height);
    QCOMPARE(g.left(), width - kScrollBarThickness);
  }
  if (hor && ver)
    QCOMPARE(TwipsGeometry(t.frame.Corner()).topLeft(),
             QPointF(width - d.CornerWidth, height - d.CornerHeight));
  QCOMPARE(t.ButtonAt(), QPointF(1000, 2000));  // laying out moves no control of the page
}

void PageFrameTest::scrollingMovesDirectControlsOnly() {
  TestPage t;
  t.ResizeClient(9000, 7500);
  const QRectF ownBarBefore = TwipsGeometry(t.ownBar);
  const QRectF innerBefore = TwipsGeometry(t.inGroup);

  t.h->setValue(100);
  t.v->setValue(250);
  QCOMPARE(t.ButtonAt(), QPointF(900, 1750));
  QCOMPARE(TwipsGeometry(t.group).topLeft(), QPointF(2900, 2750));
  QCOMPARE(TwipsGeometry(t.inGroup), innerBefore);  // moves with its group box
  QCOMPARE(TwipsGeometry(t.ownBar), ownBarBefore);  // no scroll bar moves
  QCOMPARE(QLineF(t.line->X1(), t.line->Y1(), t.line->X2(), t.line->Y2()),
           QLineF(100, 4750, 8900, 4750));

  // Moving back goes by the difference; running a routine again moves nothing.
  t.h->setValue(40);
  t.frame.ScrollFormHorizontally();
  t.frame.ScrollFormVertically();
  QCOMPARE(t.ButtonAt(), QPointF(960, 1750));
  QCOMPARE(t.line->X1(), 160.0);
  QCOMPARE(t.frame.OldHorScrollValue(), 40);

  // An arrow moves the controls by one twip; fifteen add up to one whole pixel.
  for (int i = 0; i < 15; ++i) t.h->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  t.v->triggerAction(QAbstractSlider::SliderPageStepAdd);
  QCOMPARE(t.ButtonAt(), QPointF(945, 1749));
  QCOMPARE(t.button->x(), TwipsToPixels(960) - 1);
}

void PageFrameTest::resizingAfterScrolling() {
  TestPage t;
  t.ResizeClient(9000, d.ClientHeight());
  t.h->setValue(t.h->maximum());
  // A lowered maximum clamps the value and scrolls the controls back; enlarging past the
  // design then hides the bar but keeps the shift.
  const double wider = 10200;
  const int clamped = qRound(d.DesignWidth - wider);
  for (double width : {wider, d.ClientWidth() + 300}) {
    t.ResizeClient(width, d.ClientHeight() + (width == wider ? 0 : 300));
    QCOMPARE(t.h->isHidden(), width != wider);
    QCOMPARE(t.h->value(), clamped);
    QCOMPARE(t.ButtonAt().x(), 1000.0 - clamped);
  }
}

void PageFrameTest::tinyAndMinimisedWindowsDoNotFail() {
  TestPage t;
  t.ResizeClient(15, 15);  // smaller than the bars themselves
  QVERIFY(TwipsGeometry(t.h).width() >= 0);
  QVERIFY(TwipsGeometry(t.v).height() >= 0);

  t.ResizeClient(9000, 7500);
  const QRectF before = TwipsGeometry(t.h);
  t.page.showMinimized();
  t.page.resize(1, 1);
  t.frame.Form_Resize();
  QCOMPARE(TwipsGeometry(t.h), before);
}

QTEST_MAIN(PageFrameTest)
#include "page_frame_test.moc"
