// The training-file page beyond the tours, which load a malformed file and a good one:
// nothing loads without a file double-clicked, and browsing directories (the file list's own
// test pins what it lists), which remembers the loaded file's folder. Then the page registry's end
// of the program: the tours pin the rest of its flow (one instance of each page, a page closed
// while others stay open, a closed page opening afresh, activation), and the hub's test ends the
// program with its last page.
#include <QFile>
#include <QSignalSpy>

#include "page_fixture.h"
#include "pages/trainingfile/network1.h"
#include "platform/announcer.h"
#include "platform/file_lists.h"

using namespace corvel;
using namespace Qt::StringLiterals;

namespace {

const QString kSetFile = QStringLiteral(CORVEL_TEST_DATA_DIR "/three_by_five.net");

// The page opened in a fresh directory.
struct Fixture : PageFixture {
  Network1* page = static_cast<Network1*>(pages.Open(PageId::Network1));
  FileList* files = page->findChild<FileList*>(u"File1"_s);
};

}  // namespace

class Network1Test final : public QObject {
  Q_OBJECT
 private slots:
  void nothingLoadsWithoutADoubleClick();
  void browsingDirectories();
  void exitClosesEveryPageAndEndsOnce();
};

void Network1Test::nothingLoadsWithoutADoubleClick() {
  Fixture f;
  QFile::copy(kSetFile, f.Path(u"listed.net"_s));
  QTRY_COMPARE(f.files->count(), 1);
  // A double-click with nothing selected starts no load.
  f.page->File1_DblClick();
  QVERIFY(f.state.TrainingFileName.empty() && f.messages().isEmpty());
  // Nor does the hidden way on lead anywhere (a screen reader can press it).
  f.page->NextPage_Click();
  QVERIFY(f.pages.IsOpen(PageId::Network1) && !f.pages.FreshNetworkRequested());
}

void Network1Test::browsingDirectories() {
  Fixture f;
  QDir(f.dir.path()).mkdir(u"more"_s);
  QFile::copy(kSetFile, f.Path(u"more/other.net"_s));
  auto* dirs = f.Get<DirList>(PageId::Network1, u"Dir1"_s);

  QVERIFY(dirs->setPath(f.Path(u"more"_s)));
  QTRY_COMPARE(f.files->fileNames(), QStringList{u"other.net"_s});
  // A screen reader hears the folder opened and what it holds.
  QCOMPARE(f.page->findChild<Announcer*>()->said(), u"more: 1 training file."_s);
  // A loaded file's folder is where files saved instead of a printout start.
  f.files->setCurrentRow(0);
  f.page->File1_DblClick();
  QCOMPARE(f.pages.remembered().trainingFolder, f.Path(u"more"_s));

  // A directory that cannot be read is reported and the lists stay where they were.
  const QString gone = f.Path(u"gone"_s);
  QVERIFY(!dirs->setPath(gone));
  QCOMPARE(f.messages().size(), 1);
  QVERIFY(f.messages()[0].text.contains(gone));
  QCOMPARE(f.files->path(), f.Path(u"more"_s));
}

// Exit closes every page and ends the program once; nothing opens after.
void Network1Test::exitClosesEveryPageAndEndsOnce() {
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

QTEST_MAIN(Network1Test)
#include "network1_test.moc"
