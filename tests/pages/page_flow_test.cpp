// The page registry's end of the program. The tours pin the rest of its flow: one instance of
// each page (the probe page lives on past the hub), a page closed while others stay open, a
// closed page opening afresh (the new training-file page shows no way on) and activation
// (reset weights are zero once the set-up page is back); the hub's test ends the program with
// its last page closed.
#include <QSignalSpy>

#include "page_fixture.h"

using namespace corvel;

class PageFlowTest final : public QObject {
  Q_OBJECT
 private slots:
  void exitClosesEveryPageAndEndsOnce();
};

// Exit closes every page and ends the program once; nothing opens after.
void PageFlowTest::exitClosesEveryPageAndEndsOnce() {
  PageFixture f;
  QSignalSpy ended(&f.pages, &PageRegistry::programEnded);
  f.pages.Open(PageId::Network1);
  f.pages.Open(PageId::SaveResults);
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
