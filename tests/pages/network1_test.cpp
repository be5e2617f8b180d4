// The training-file page beyond the acceptance tour: what does not load, a failed load after
// a good one, and browsing directories (the file list's own test pins what it lists).
#include <QFile>
#include <QLineEdit>
#include <QPushButton>

#include "page_fixture.h"
#include "pages/trainingfile/network1.h"
#include "platform/file_lists.h"

using namespace corvel;
using namespace Qt::StringLiterals;

namespace {

const QString kData = QStringLiteral(CORVEL_TEST_DATA_DIR);

// The page opened in a directory holding copies of the test files.
struct Fixture : PageFixture {
  Network1* page = nullptr;
  FileList* files = nullptr;

  Fixture() {
    for (const QString& name : QDir(kData).entryList(QDir::Files))
      QFile::copy(kData + u'/' + name, Path(name));
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
  void failedLoadKeepsPreviousSet();
  void browsingDirectories();
};

void Network1Test::nothingLoadsWithoutADoubleClick() {
  Fixture f;
  f.Click(u"three_by_five.net"_s, false);
  QCOMPARE(f.state.NumPatterns, 0);
  // A double-click with nothing selected starts no load either.
  f.files->clearSelection();
  f.page->File1_DblClick();
  QVERIFY(f.state.TrainingFileName.empty());
  // Nor does the hidden way on lead anywhere (a screen reader can press it).
  f.page->NextPage_Click();
  QVERIFY(f.pages.IsOpen(PageId::Network1) && !f.pages.FreshNetworkRequested());
}

// A failed load after a good one keeps the good set and what the page shows of it; the tour
// pins the message of a failed first load and what a good load shows.
void Network1Test::failedLoadKeepsPreviousSet() {
  Fixture f;
  f.Click(u"three_by_five.net"_s);
  QCOMPARE(f.state.NumOutputUnits, 3);
  const PublicStuff before = f.state;
  const QString shownBefore = f.Output(0)->text();

  f.Click(u"ends_early.net"_s);
  QCOMPARE(f.messages().size(), 1);
  QVERIFY2(f.messages()[0].text.contains(QDir(f.dir.path()).filePath(u"ends_early.net"_s)),
           qPrintable(f.messages()[0].text));
  QCOMPARE(f.messages()[0].icon, MessageIcon::Warning);
  QCOMPARE(f.state.TrainingFileName, before.TrainingFileName);
  QVERIFY(f.state.InputPatterns == before.InputPatterns);
  QCOMPARE(f.Output(0)->text(), shownBefore);
  QVERIFY(!f.NextPage()->isHidden());
}

void Network1Test::browsingDirectories() {
  Fixture f;
  QDir(f.dir.path()).mkdir(u"more"_s);
  QFile::copy(kData + u"/three_by_five.net"_s, f.Path(u"more/other.net"_s));
  auto* dirs = f.Get<DirList>(PageId::Network1, u"Dir1"_s);

  QVERIFY(dirs->setPath(f.Path(u"more"_s)));
  QTRY_COMPARE(f.files->fileNames(), QStringList{u"other.net"_s});

  // A directory that cannot be read is reported and the lists stay where they were.
  const QString gone = f.Path(u"gone"_s);
  QVERIFY(!dirs->setPath(gone));
  QCOMPARE(f.messages().size(), 1);
  QVERIFY(f.messages()[0].text.contains(gone));
  QCOMPARE(f.files->path(), f.Path(u"more"_s));
}

QTEST_MAIN(Network1Test)
#include "network1_test.moc"
