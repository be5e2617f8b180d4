// The page registry: single instances, open and close, the end of the program, the fresh
// network request, and the ways between the pages built so far.
#include <QDir>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "pages/page_factories.h"
#include "pages/page_registry.h"
#include "pages/trainingfile/network1.h"
#include "platform/file_lists.h"
#include "platform/platform.h"
#include "state/public_stuff.h"

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

struct Fixture {
  PublicStuff state;
  ScriptedPlatform platform;
  PageRegistry pages{state, platform, RegionalSettings{}};
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

void FlushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

QPushButton* Button(Page* page, const QString& name) {
  return page->findChild<QPushButton*>(name);
}

}  // namespace

class PageFlowTest final : public QObject {
  Q_OBJECT
 private slots:
  void openKeepsOneInstanceAndLoadsOnce();
  void closeDestroysAndNextOpenStartsAfresh();
  void activationRunsFormActivate();
  void programEndsWithLastPageOrAtExit();
  void freshNetworkRequestIsTakenOnce();
  void network1GoesOnToSetupWithFreshNetwork();
  void hubExitLeavesOtherPagesRunning();
};

void PageFlowTest::openKeepsOneInstanceAndLoadsOnce() {
  Fixture f;
  Page* first = f.pages.Open(PageId::PlotSSEdata);
  Page* second = f.pages.Open(PageId::PlotSSEdata);
  QCOMPARE(second, first);
  QCOMPARE(f.created, 1);
  QCOMPARE(f.Counting(PageId::PlotSSEdata)->loads, 1);
  QVERIFY(first->isVisible());
  QVERIFY(f.pages.IsOpen(PageId::PlotSSEdata));
  QVERIFY(!f.pages.IsOpen(PageId::TestDAM));
}

void PageFlowTest::closeDestroysAndNextOpenStartsAfresh() {
  Fixture f;
  f.pages.Open(PageId::TestDAM);
  QPointer<Page> old = f.pages.Open(PageId::ProbeNetwork);
  f.pages.Close(PageId::ProbeNetwork);
  QVERIFY(!f.pages.IsOpen(PageId::ProbeNetwork));
  FlushDeletes();
  QVERIFY(old.isNull());

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
  {
    Fixture f;
    QSignalSpy ended(&f.pages, &PageRegistry::programEnded);
    f.pages.Open(PageId::DistMem);
    f.pages.Open(PageId::TestDAM);
    f.pages.Close(PageId::DistMem);
    QCOMPARE(ended.count(), 0);
    f.pages.Close(PageId::TestDAM);
    QCOMPARE(ended.count(), 1);
  }
  {
    Fixture f;
    QSignalSpy ended(&f.pages, &PageRegistry::programEnded);
    f.pages.Open(PageId::DistMem);
    f.pages.Open(PageId::TestDAM);
    f.pages.Open(PageId::PlotSSEdata);
    f.pages.ExitProgram();
    QCOMPARE(ended.count(), 1);
    QCOMPARE(f.pages.OpenCount(), 0);
    QCOMPARE(f.pages.Open(PageId::Network1), nullptr);  // nothing opens once ending
    FlushDeletes();
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

void PageFlowTest::network1GoesOnToSetupWithFreshNetwork() {
  Fixture f;
  f.pages.Register(PageId::Network1, CreateNetwork1);
  QSignalSpy ended(&f.pages, &PageRegistry::programEnded);
  QDir::setCurrent(QStringLiteral(CORVEL_TEST_DATA_DIR));  // the way on needs a file loaded
  auto* start = static_cast<Network1*>(f.pages.Open(PageId::Network1));
  auto* files = start->findChild<FileList*>(QStringLiteral("File1"));
  QTRY_VERIFY(files->IndexOf(QStringLiteral("three_by_five.net")).isValid());
  files->setCurrentIndex(files->IndexOf(QStringLiteral("three_by_five.net")));
  start->File1_DblClick();
  f.state.NewRun = 0;
  start->NextPage_Click();
  QVERIFY(f.pages.IsOpen(PageId::DistMem));
  QVERIFY(!f.pages.IsOpen(PageId::Network1));
  QCOMPARE(f.state.NewRun, 1);
  QVERIFY(f.pages.FreshNetworkRequested());
  QCOMPARE(ended.count(), 0);

  // "Exit" ends the program at once.
  f.pages.Open(PageId::Network1);
  Button(f.pages.Find(PageId::Network1), QStringLiteral("Command2"))->click();
  QCOMPARE(ended.count(), 1);
  QCOMPARE(f.pages.OpenCount(), 0);
}

void PageFlowTest::hubExitLeavesOtherPagesRunning() {
  Fixture f;
  RegisterAllPages(f.pages);
  f.pages.Register(PageId::DistMem, [](PageRegistry& r) { return new CountingPage(r, PageId::DistMem); });
  QSignalSpy ended(&f.pages, &PageRegistry::programEnded);
  f.pages.Open(PageId::DistMem);
  Page* hub = f.pages.Open(PageId::TestDAM);
  Page* chart = f.pages.Open(PageId::PlotSSEdata);
  QCOMPARE(hub->windowTitle(),
           QStringLiteral("Testing The Distributed Associative Memory -- Talvik Neural Network Code"));

  Button(hub, QStringLiteral("Command2"))->click();  // "Exit Program"
  QVERIFY(!f.pages.IsOpen(PageId::TestDAM));
  QVERIFY(!f.pages.IsOpen(PageId::DistMem));
  QVERIFY(f.pages.IsOpen(PageId::PlotSSEdata));
  QCOMPARE(ended.count(), 0);

  Button(chart, QStringLiteral("CloseThisForm"))->click();  // "Exit This Page"
  QCOMPARE(ended.count(), 1);
}

QTEST_MAIN(PageFlowTest)
#include "page_flow_test.moc"
