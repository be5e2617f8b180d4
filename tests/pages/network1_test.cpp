// The training-file page: which files it lists, loading through a double-click in the file
// list, a failed load, browsing directories, and the ways on from it.
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>

#include "page_fixture.h"
#include "pages/trainingfile/network1.h"
#include "platform/announcer.h"
#include "platform/file_lists.h"

using namespace corvel;
using namespace Qt::StringLiterals;

namespace {

const QString kData = QStringLiteral(CORVEL_TEST_DATA_DIR);

// The page opened in a directory holding copies of the test files, one with an upper-case
// extension.
struct Fixture : PageFixture {
  Network1* page = nullptr;
  FileList* files = nullptr;

  Fixture() {
    for (const QString& name : QDir(kData).entryList(QDir::Files))
      QFile::copy(kData + u'/' + name, Path(name));
    QFile::copy(kData + u"/three_by_five.net"_s, Path(u"UPPER.NET"_s));
    page = static_cast<Network1*>(pages.Open(PageId::Network1));
    files = page->findChild<FileList*>(u"File1"_s);
  }
  QLineEdit* Output(int i) { return Get<QLineEdit>(PageId::Network1, u"OutputText(%1)"_s.arg(i)); }
  QPushButton* NextPage() { return Get<QPushButton>(PageId::Network1, u"NextPage"_s); }

  // A user's click on a listed file, and with `twice` the double-click that follows.
  void Click(const QString& name, bool twice = true) {
    QTRY_VERIFY(files->fileNames().contains(name));
    const QPoint at = files->visualRect(files->IndexOf(name)).center();
    QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, at);
    if (twice) QTest::mouseDClick(files->viewport(), Qt::LeftButton, {}, at);
  }
};

}  // namespace

class Network1Test final : public QObject {
  Q_OBJECT
 private slots:
  void nothingLoadsWithoutADoubleClick();
  void doubleClickLoadsShowsCountsAndOpensTheWayOn();
  void failedLoadKeepsPreviousSet_data();
  void failedLoadKeepsPreviousSet();
  void browsingDirectories();
};

void Network1Test::nothingLoadsWithoutADoubleClick() {
  Fixture f;
  // Only training files are listed, whatever the letter case of their extension.
  QTRY_COMPARE(f.files->fileNames().size(), 4);
  QStringList names = f.files->fileNames();
  names.sort();
  QCOMPARE(names, QStringList({u"UPPER.NET"_s, u"ends_early.net"_s, u"letters.net"_s,
                               u"three_by_five.net"_s}));
  f.Click(u"three_by_five.net"_s, false);
  QCOMPARE(f.state.NumPatterns, 0);
  // A double-click with nothing selected starts no load either.
  f.files->clearSelection();
  f.page->File1_DblClick();
  QVERIFY(f.state.TrainingFileName.empty());
  QVERIFY(f.NextPage()->isHidden());
  for (int i = 0; i < 4; ++i) QVERIFY(f.Output(i)->isHidden());
  // Nor does the hidden way on lead anywhere (a screen reader can press it).
  f.page->NextPage_Click();
  QVERIFY(f.pages.IsOpen(PageId::Network1) && !f.pages.FreshNetworkRequested());
}

void Network1Test::doubleClickLoadsShowsCountsAndOpensTheWayOn() {
  Fixture f;
  QSignalSpy ended(&f.pages, &PageRegistry::programEnded);
  f.Click(u"three_by_five.net"_s);
  // The file's header gives 3 output units, 5 input units and 2 patterns.
  QCOMPARE(f.state.NumOutputUnits, 3);
  QCOMPARE(f.state.TrainingFileName, std::string("three_by_five.net"));
  const QStringList shown = {u"three_by_five.net"_s, u"3"_s, u"5"_s, u"2"_s};
  for (int i = 0; i < 4; ++i) {
    QCOMPARE(f.Output(i)->text(), shown[i]);
    QVERIFY(!f.Output(i)->isHidden());
    QVERIFY(f.Output(i)->isReadOnly() && (f.Output(i)->focusPolicy() & Qt::TabFocus));
  }
  QVERIFY(!f.NextPage()->isHidden());
  // A screen reader hears what the boxes show and that the way on is open.
  const QString said = f.page->findChild<Announcer*>()->said();
  for (const QString& value : shown) QVERIFY2(said.contains(value), qPrintable(said));
  QVERIFY(said.contains(f.NextPage()->text()));
  QVERIFY(f.messages().isEmpty());

  // The way on opens the set-up page for a fresh network and closes this one.
  f.state.NewRun = 0;
  f.NextPage()->click();
  QVERIFY(f.pages.IsOpen(PageId::DistMem) && !f.pages.IsOpen(PageId::Network1));
  QCOMPARE(f.state.NewRun, 1);
  QCOMPARE(ended.count(), 0);
  // "Exit" ends the program at once.
  f.pages.Open(PageId::Network1);
  f.Get<QPushButton>(PageId::Network1, u"Command2"_s)->click();
  QCOMPARE(ended.count(), 1);
  QCOMPARE(f.pages.OpenCount(), 0);
}

void Network1Test::failedLoadKeepsPreviousSet_data() {
  QTest::addColumn<QString>("file");
  QTest::addColumn<bool>("loadGoodFirst");
  QTest::newRow("ends early, after a good file") << u"ends_early.net"_s << true;
  QTest::newRow("letters, first load") << u"letters.net"_s << false;
}

void Network1Test::failedLoadKeepsPreviousSet() {
  QFETCH(QString, file);
  QFETCH(bool, loadGoodFirst);
  Fixture f;
  if (loadGoodFirst) f.Click(u"three_by_five.net"_s);
  const PublicStuff before = f.state;
  const QString shownBefore = f.Output(0)->text();

  f.Click(file);
  QCOMPARE(f.messages().size(), 1);
  QVERIFY2(f.messages()[0].text.contains(QDir(f.dir.path()).filePath(file)),
           qPrintable(f.messages()[0].text));
  QCOMPARE(f.messages()[0].icon, MessageIcon::Warning);
  QCOMPARE(f.state.TrainingFileName, before.TrainingFileName);
  QCOMPARE(f.state.NumPatterns, before.NumPatterns);
  QVERIFY(f.state.InputPatterns == before.InputPatterns);
  QCOMPARE(f.Output(0)->text(), shownBefore);
  QCOMPARE(!f.NextPage()->isHidden(), loadGoodFirst);
}

void Network1Test::browsingDirectories() {
  Fixture f;
  QDir(f.dir.path()).mkdir(u"more"_s);
  QFile::copy(kData + u"/three_by_five.net"_s, f.Path(u"more/other.net"_s));
  auto* dirs = f.Get<DirList>(PageId::Network1, u"Dir1"_s);
  QCOMPARE(dirs->path(), f.Path(u"."_s));

  QVERIFY(dirs->setPath(f.Path(u"more"_s)));
  QTRY_COMPARE(f.files->fileNames(), QStringList{u"other.net"_s});
  QCOMPARE(f.files->path(), dirs->path());

  // A directory that cannot be read is reported and the lists stay where they were.
  const QString gone = f.Path(u"gone"_s);
  QVERIFY(!dirs->setPath(gone));
  QCOMPARE(f.messages().size(), 1);
  QVERIFY(f.messages()[0].text.contains(gone));
  QCOMPARE(f.files->path(), f.Path(u"more"_s));
  f.Click(u"other.net"_s);
  QVERIFY(!f.NextPage()->isHidden());
}

QTEST_MAIN(Network1Test)
#include "network1_test.moc"
