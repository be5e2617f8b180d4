// The page registry: one instance of each page, open and close, activation, the end of the
// program and the fresh network request.
#include <QSignalSpy>

#include "page_fixture.h"

using namespace corvel;

namespace {

// A page that counts its handlers.
class CountingPage final : public Page {
 public:
  CountingPage(PageRegistry& r, PageId id) : Page(r, id, QStringLiteral("Counting")) {}
  void Form_Load() override { ++loads; }
  void Form_Activate() override { ++activations; }
  int loads = 0;
  int activations = 0;
};

// Every page a counting page.
struct Fixture : PageFixture {
  int created = 0;

  Fixture() {
    for (PageId id : kAllPages)
      pages.Register(id, [this, id](PageRegistry& r) {
        ++created;
        return new CountingPage(r, id);
      });
  }
  CountingPage* Counting(PageId id) { return static_cast<CountingPage*>(pages.Find(id)); }
};

}  // namespace

class PageFlowTest final : public QObject {
  Q_OBJECT
 private slots:
  void openKeepsOneInstanceAndCloseStartsAfresh();
  void activationRunsFormActivate();
  void programEndsWithLastPageOrAtExit();
  void freshNetworkRequestIsTakenOnce();
};

void PageFlowTest::openKeepsOneInstanceAndCloseStartsAfresh() {
  Fixture f;
  f.pages.Open(PageId::TestDAM);
  QPointer<Page> first = f.pages.Open(PageId::ProbeNetwork);
  QCOMPARE(f.pages.Open(PageId::ProbeNetwork), first.data());
  QCOMPARE(f.created, 2);
  QCOMPARE(f.Counting(PageId::ProbeNetwork)->loads, 1);
  QVERIFY(first->isVisible());
  QVERIFY(!f.pages.IsOpen(PageId::SaveResults));

  f.pages.Close(PageId::ProbeNetwork);
  QVERIFY(!f.pages.IsOpen(PageId::ProbeNetwork));
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QVERIFY(first.isNull());
  f.pages.Open(PageId::ProbeNetwork);
  QCOMPARE(f.created, 3);
  QCOMPARE(f.Counting(PageId::ProbeNetwork)->loads, 1);

  // Closing the window from its frame closes that page alone.
  f.pages.Find(PageId::ProbeNetwork)->close();
  QVERIFY(!f.pages.IsOpen(PageId::ProbeNetwork));
  QVERIFY(f.pages.IsOpen(PageId::TestDAM));
}

void PageFlowTest::activationRunsFormActivate() {
  Fixture f;
  f.pages.Open(PageId::DistMem);
  QTRY_VERIFY(f.Counting(PageId::DistMem)->activations > 0);
  f.pages.Open(PageId::TestDAM);
  QTRY_VERIFY(f.Counting(PageId::TestDAM)->activations > 0);
  const int before = f.Counting(PageId::DistMem)->activations;
  f.pages.Open(PageId::DistMem);  // brought back to the front
  QTRY_VERIFY(f.Counting(PageId::DistMem)->activations > before);

  // The same page active again (as after closing a message box over it) runs nothing.
  const int settled = f.Counting(PageId::DistMem)->activations;
  QEvent activate(QEvent::WindowActivate);
  QCoreApplication::sendEvent(f.pages.Find(PageId::DistMem), &activate);
  QCOMPARE(f.Counting(PageId::DistMem)->activations, settled);
}

void PageFlowTest::programEndsWithLastPageOrAtExit() {
  for (bool exit : {false, true}) {
    Fixture f;
    QSignalSpy ended(&f.pages, &PageRegistry::programEnded);
    f.pages.Open(PageId::DistMem);
    f.pages.Open(PageId::TestDAM);
    f.pages.Open(PageId::PlotSSEdata);
    if (exit) {
      f.pages.ExitProgram();
    } else {
      f.pages.Close(PageId::DistMem);
      f.pages.Close(PageId::TestDAM);
      QCOMPARE(ended.count(), 0);
      f.pages.Close(PageId::PlotSSEdata);
    }
    QVERIFY2(ended.count() == 1, exit ? "at exit" : "with the last page");
    QCOMPARE(f.pages.OpenCount(), 0);
    QCOMPARE(f.pages.Open(PageId::Network1), nullptr);  // nothing opens once ending
    f.pages.ExitProgram();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(ended.count(), 1);
  }
}

void PageFlowTest::freshNetworkRequestIsTakenOnce() {
  Fixture f;
  QVERIFY(!f.pages.TakeFreshNetworkRequest());
  f.state.NewRun = 0;
  f.pages.RequestFreshNetwork();
  QCOMPARE(f.state.NewRun, 1);
  QVERIFY(f.pages.TakeFreshNetworkRequest());
  QVERIFY(!f.pages.TakeFreshNetworkRequest());
  QCOMPARE(f.state.NewRun, 1);  // NewRun itself is the set-up page's to change
}

QTEST_MAIN(PageFlowTest)
#include "page_flow_test.moc"
