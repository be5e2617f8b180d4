// The training-file page: its design state, loading through a double-click in the file
// list, a failed load, and browsing directories.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "pages/page_factories.h"
#include "pages/trainingfile/network1.h"
#include "platform/announcer.h"
#include "platform/file_lists.h"
#include "platform/platform.h"
#include "state/public_stuff.h"

using namespace corvel;

namespace {

const QString kData = QStringLiteral(CORVEL_TEST_DATA_DIR);

// The page opened in a fresh directory holding copies of the test files.
struct Fixture {
  QTemporaryDir dir;
  PublicStuff state;
  ScriptedPlatform platform;
  PageRegistry pages{state, platform, RegionalSettings{}};
  Network1* page = nullptr;
  FileList* files = nullptr;

  Fixture() {
    for (const QString& name : QDir(kData).entryList(QDir::Files))
      QFile::copy(kData + QLatin1Char('/') + name, dir.filePath(name));
    QFile::copy(kData + QStringLiteral("/three_by_five.net"), dir.filePath(QStringLiteral("UPPER.NET")));
    QDir::setCurrent(dir.path());
    pages.Register(PageId::Network1, CreateNetwork1);
    page = static_cast<Network1*>(pages.Open(PageId::Network1));
    files = page->findChild<FileList*>(QStringLiteral("File1"));
  }
  ~Fixture() { QDir::setCurrent(QDir::tempPath()); }

  template <class W>
  W* Control(const QString& name) { return page->findChild<W*>(name); }
  QLineEdit* Output(int i) { return Control<QLineEdit>(QStringLiteral("OutputText(%1)").arg(i)); }
  bool NextPageShown() { return !Control<QPushButton>(QStringLiteral("NextPage"))->isHidden(); }

  // A user's double-click: a click, then the double-click (see the item view's rules).
  void DoubleClick(const QString& name) {
    QTRY_VERIFY(files->fileNames().contains(name));
    const QPoint at = files->visualRect(files->IndexOf(name)).center();
    QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(files->viewport(), Qt::LeftButton, {}, at);
  }
};

}  // namespace

class Network1Test final : public QObject {
  Q_OBJECT
 private slots:
  void designState();
  void doubleClickLoadsAndShowsCounts();
  void singleClickLoadsNothing();
  void failedLoadKeepsPreviousSet_data();
  void failedLoadKeepsPreviousSet();
  void browsingDirectories();
};

void Network1Test::designState() {
  Fixture f;
  QCOMPARE(f.page->windowTitle(), QStringLiteral("Talvik Neural Net Code -- Introductory Form"));
  QCOMPARE(f.Control<QLabel>(QStringLiteral("FileLabel"))->text(),
           QStringLiteral("Use \"Double Clicks\" To Choose The File To Train The Network"));
  const QFont title = f.Control<QLabel>(QStringLiteral("Label1"))->font();
  QCOMPARE(title.family(), QStringLiteral("Arial"));
  QCOMPARE(title.pointSizeF(), 20.25);
  QVERIFY(title.bold() && title.italic());
  QVERIFY(!f.NextPageShown());
  for (int i = 0; i <= 4; ++i)
    QVERIFY(f.Control<QLabel>(QStringLiteral("Label8(%1)").arg(i))->isHidden());
  for (int i = 0; i < 4; ++i) QVERIFY(f.Output(i)->isHidden());
  // Only training files are listed, whatever the letter case of their extension.
  QTRY_COMPARE(f.files->fileNames().size(), 4);
  QStringList names = f.files->fileNames();
  names.sort();
  QCOMPARE(names, QStringList({QStringLiteral("UPPER.NET"), QStringLiteral("ends_early.net"),
                               QStringLiteral("letters.net"), QStringLiteral("three_by_five.net")}));
}

void Network1Test::doubleClickLoadsAndShowsCounts() {
  Fixture f;
  f.DoubleClick(QStringLiteral("three_by_five.net"));
  // The file's header gives 3 output units, 5 input units and 2 patterns.
  QCOMPARE(f.state.NumOutputUnits, 3);
  QCOMPARE(f.state.TrainingFileName, std::string("three_by_five.net"));
  const QStringList shown = {QStringLiteral("three_by_five.net"), QStringLiteral("3"),
                             QStringLiteral("5"), QStringLiteral("2")};
  for (int i = 0; i < 4; ++i) {
    QCOMPARE(f.Output(i)->text(), shown[i]);
    QVERIFY(!f.Output(i)->isHidden());
    QVERIFY(f.Output(i)->isReadOnly() && (f.Output(i)->focusPolicy() & Qt::TabFocus));
  }
  QVERIFY(f.NextPageShown());
  // A screen reader hears what the boxes show and that the way on is open.
  const QString said = f.page->findChild<Announcer*>()->said();
  for (const QString& value : shown) QVERIFY2(said.contains(value), qPrintable(said));
  QVERIFY(said.contains(f.Control<QPushButton>(QStringLiteral("NextPage"))->text()));
  QVERIFY(f.platform.messages().calls().isEmpty());
}

void Network1Test::singleClickLoadsNothing() {
  Fixture f;
  QTRY_VERIFY(f.files->fileNames().contains(QStringLiteral("three_by_five.net")));
  const QPoint at = f.files->visualRect(f.files->IndexOf(QStringLiteral("three_by_five.net"))).center();
  QTest::mouseClick(f.files->viewport(), Qt::LeftButton, {}, at);
  QCOMPARE(f.state.NumPatterns, 0);
  QVERIFY(!f.NextPageShown());
  // A double-click with nothing selected starts no load either.
  f.files->clearSelection();
  f.page->File1_DblClick();
  QVERIFY(f.state.TrainingFileName.empty());
  // Nor does the hidden way on lead anywhere (a screen reader can press it).
  f.page->NextPage_Click();
  QVERIFY(f.pages.IsOpen(PageId::Network1) && !f.pages.FreshNetworkRequested());
}

void Network1Test::failedLoadKeepsPreviousSet_data() {
  QTest::addColumn<QString>("file");
  QTest::addColumn<bool>("loadGoodFirst");
  QTest::newRow("ends early, after a good file") << QStringLiteral("ends_early.net") << true;
  QTest::newRow("letters, first load") << QStringLiteral("letters.net") << false;
}

void Network1Test::failedLoadKeepsPreviousSet() {
  QFETCH(QString, file);
  QFETCH(bool, loadGoodFirst);
  Fixture f;
  if (loadGoodFirst) f.DoubleClick(QStringLiteral("three_by_five.net"));
  const PublicStuff before = f.state;
  const QString shownBefore = f.Output(0)->text();

  f.DoubleClick(file);
  const auto& calls = f.platform.messages().calls();
  QCOMPARE(calls.size(), 1);
  QVERIFY2(calls[0].text.contains(QDir(f.dir.path()).filePath(file)), qPrintable(calls[0].text));
  QCOMPARE(calls[0].icon, MessageIcon::Warning);
  QCOMPARE(f.state.TrainingFileName, before.TrainingFileName);
  QCOMPARE(f.state.NumPatterns, before.NumPatterns);
  QVERIFY(f.state.InputPatterns == before.InputPatterns);
  QCOMPARE(f.Output(0)->text(), shownBefore);
  QCOMPARE(f.NextPageShown(), loadGoodFirst);
}

void Network1Test::browsingDirectories() {
  Fixture f;
  QDir(f.dir.path()).mkdir(QStringLiteral("more"));
  QFile::copy(kData + QStringLiteral("/three_by_five.net"), f.dir.filePath(QStringLiteral("more/other.net")));
  auto* dirs = f.Control<DirList>(QStringLiteral("Dir1"));
  QCOMPARE(dirs->path(), QDir::cleanPath(f.dir.path()));

  QVERIFY(dirs->setPath(f.dir.filePath(QStringLiteral("more"))));
  QTRY_COMPARE(f.files->fileNames(), QStringList{QStringLiteral("other.net")});
  QCOMPARE(f.files->path(), dirs->path());

  // A directory that cannot be read is reported and the lists stay where they were.
  const QString gone = f.dir.filePath(QStringLiteral("gone"));
  QVERIFY(!dirs->setPath(gone));
  const auto& calls = f.platform.messages().calls();
  QCOMPARE(calls.size(), 1);
  QVERIFY(calls[0].text.contains(gone));
  QCOMPARE(f.files->path(), f.dir.filePath(QStringLiteral("more")));
  f.DoubleClick(QStringLiteral("other.net"));
  QVERIFY(f.NextPageShown());
}

QTEST_MAIN(Network1Test)
#include "network1_test.moc"
