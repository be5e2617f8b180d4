// The page registry: one instance of each page, open and close, and the end of the program.
// The tour relies on activation (reset weights are zero once the set-up page is back).
#include <QSignalSpy>

#include "page_fixture.h"

using namespace corvel;

namespace {

// A page that counts its loads.
class CountingPage final : public Page {
 public:
  CountingPage(PageRegistry& r, PageId id) : Page(r, id, QStringLiteral("Counting")) {}
  void Form_Load() override { ++loads; }
  int loads = 0;
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
  void exitEndsTheProgramOnce();
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

// Exit closes every page and ends the program once; nothing opens after. The hub's test ends
// the program with its last page closed, and the tour walks the fresh network request.
void PageFlowTest::exitEndsTheProgramOnce() {
  Fixture f;
  QSignalSpy ended(&f.pages, &PageRegistry::programEnded);
  f.pages.Open(PageId::DistMem);
  f.pages.Open(PageId::TestDAM);
  f.pages.ExitProgram();
  QCOMPARE(ended.count(), 1);
  QCOMPARE(f.pages.OpenCount(), 0);
  QCOMPARE(f.pages.Open(PageId::Network1), nullptr);
  f.pages.ExitProgram();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCOMPARE(ended.count(), 1);
}

QTEST_MAIN(PageFlowTest)
#include "page_flow_test.moc"
