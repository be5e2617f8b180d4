// The pages reached after training: the hub's ways to examine and to go on, the probe
// page's blocks and refusals, and the save page's file names, overwrite question and
// failures. Expected texts come from the core (ProbeBlock, ResultsReportText) run on a copy
// of the same state.
#include <QCheckBox>
#include <QFontInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "overlap_set.h"
#include "pages/page_factories.h"
#include "pages/probe/probe_network.h"
#include "pages/save/save_results.h"
#include "platform/display_box.h"
#include "platform/file_lists.h"
#include "platform/list_box.h"
#include "platform/platform.h"
#include "platform/up_down.h"
#include "report/probe_text.h"
#include "report/report_time.h"
#include "state/public_stuff.h"

using namespace corvel;
using namespace Qt::StringLiterals;

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

// A trained memory (non-zero weights) with the set-up page and the hub open over it, in a
// fresh working directory.
struct Fixture {
  QTemporaryDir dir;
  PublicStuff state;
  ScriptedPlatform platform;
  PageRegistry pages{state, platform, RegionalSettings{}};
  Page* hub = nullptr;

  Fixture() {
    QDir::setCurrent(dir.path());
    LoadOverlapSet(state);
    RegisterAllPages(pages);
    pages.RequestFreshNetwork();
    pages.Open(PageId::DistMem);
    for (int j = 1; j <= 2; ++j)
      for (int i = 1; i <= 3; ++i) state.Connections.Weight(j, i) = 0.25 * i - 0.5 * j;
    state.NewRun = 1;
    hub = pages.Open(PageId::TestDAM);
  }
  ~Fixture() { QDir::setCurrent(QDir::tempPath()); }

  template <class W = QWidget>
  W* Get(PageId id, const QString& name) {
    W* w = pages.Find(id)->findChild<W*>(name);
    if (!w) qFatal("no control %s", qPrintable(name));
    return w;
  }
  // Selects an item of a hub list and double-clicks it, as a user does.
  void Choose(const QString& list, int row) {
    auto* box = Get<ListBox>(PageId::TestDAM, list);
    const QPoint at = box->visualItemRect(box->item(row)).center();
    QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(box->viewport(), Qt::LeftButton, {}, at);
  }
  ProbeNetwork* Probe() { return static_cast<ProbeNetwork*>(pages.Open(PageId::ProbeNetwork)); }
  SaveResults* Save() { return static_cast<SaveResults*>(pages.Open(PageId::SaveResults)); }
  void Present(const QString& text) {
    Get<QLineEdit>(PageId::ProbeNetwork, u"PatternBox"_s)->setText(text);
    Get<QPushButton>(PageId::ProbeNetwork, u"PatternOK"_s)->click();
  }
  const QList<ScriptedMessageBoxService::Call>& messages() { return platform.messages().calls(); }
};

}  // namespace

class EvaluationPagesTest final : public QObject {
  Q_OBJECT
 private slots:
  void hub_examiningOpensEachPageOnceAndKeepsTheHub();
  void hub_doubleClickWithNothingSelected();
  void hub_waysOn_data();
  void hub_waysOn();
  void probe_blocksNewestFirst();
  void probe_refusals_data();
  void probe_refusals();
  void probe_printsTheWindow();
  void save_namingAFile_data();
  void save_namingAFile();
  void save_writesTheReportAfterTheOverwriteQuestion();
  void save_failuresNameThePath_data();
  void save_failuresNameThePath();
};

void EvaluationPagesTest::hub_examiningOpensEachPageOnceAndKeepsTheHub() {
  Fixture f;
  const PageId pages[] = {PageId::ProbeNetwork, PageId::SaveResults, PageId::PlotSSEdata};
  for (int row = 0; row < 3; ++row) {
    f.Choose(u"TestList"_s, row);
    Page* opened = f.pages.Find(pages[row]);
    QVERIFY(opened != nullptr);
    // Enter on the selected item does what the double-click does: the same page again.
    QTest::keyClick(f.Get(PageId::TestDAM, u"TestList"_s), Qt::Key_Return);
    QCOMPARE(f.pages.Find(pages[row]), opened);
  }
  QVERIFY(f.pages.IsOpen(PageId::TestDAM) && f.pages.IsOpen(PageId::DistMem));
  QVERIFY(f.messages().isEmpty());
}

void EvaluationPagesTest::hub_doubleClickWithNothingSelected() {
  Fixture f;
  for (const QString& list : {u"TestList"_s, u"ContinueList"_s}) {
    auto* box = f.Get<ListBox>(PageId::TestDAM, list);
    QCOMPARE(box->ListIndex(), -1);                        // no selection at start
    const QPoint below(5, box->viewport()->height() - 3);  // empty space under the items
    QTest::mouseDClick(box->viewport(), Qt::LeftButton, {}, below);
  }
  // From the keyboard, the first Down selects the first item rather than skipping it.
  auto* list = f.Get<ListBox>(PageId::TestDAM, u"TestList"_s);
  QFocusEvent focusIn(QEvent::FocusIn, Qt::TabFocusReason);
  QCoreApplication::sendEvent(list, &focusIn);
  QTest::keyClick(list, Qt::Key_Down);
  QCOMPARE(list->ListIndex(), 0);
  QCOMPARE(f.messages().size(), 2);
  for (const auto& call : f.messages()) {
    QCOMPARE(call.text, u"No method for continuing has been selected!"_s);
    QCOMPARE(call.title, u"Corvel Duvu"_s);
    QCOMPARE(call.icon, MessageIcon::None);
  }
  QCOMPARE(f.pages.OpenCount(), 2);
}

void EvaluationPagesTest::hub_waysOn_data() {
  QTest::addColumn<int>("row");
  QTest::addColumn<int>("newRun");
  QTest::addColumn<bool>("weightsKept");
  QTest::addColumn<bool>("setupOpen");
  QTest::newRow("Reset Weights And Train Again") << 0 << 1 << false << true;
  QTest::newRow("Keep Current Weights And Continue Training") << 1 << 0 << true << true;
  QTest::newRow("Train A New Network On A New Problem") << 2 << 1 << true << false;
}

void EvaluationPagesTest::hub_waysOn() {
  QFETCH(int, row);
  QFETCH(int, newRun);
  QFETCH(bool, weightsKept);
  QFETCH(bool, setupOpen);
  Fixture f;
  f.Probe();
  const ConnectionArray trained = f.state.Connections;
  f.Choose(u"ContinueList"_s, row);
  QCOMPARE(int(f.state.NewRun), newRun);
  // Reset: every weight is zero as soon as the set-up page is back on screen.
  QCOMPARE(f.state.Connections == trained, weightsKept);
  if (!weightsKept) QVERIFY(f.state.Connections == ConnectionArray(2, 3));
  QVERIFY(!f.pages.IsOpen(PageId::TestDAM));
  QCOMPARE(f.pages.IsOpen(PageId::DistMem), setupOpen);
  QCOMPARE(f.pages.IsOpen(PageId::Network1), !setupOpen);
  QVERIFY(f.pages.IsOpen(PageId::ProbeNetwork));  // an examining page lives on
}

void EvaluationPagesTest::probe_blocksNewestFirst() {
  Fixture f;
  ProbeNetwork* probe = f.Probe();
  auto* upDown = f.Get<UpDown>(PageId::ProbeNetwork, u"PatternUpDown"_s);
  QCOMPARE(upDown->maximum(), 2);
  QCOMPARE(f.Get<QLineEdit>(PageId::ProbeNetwork, u"PatternBox"_s)->text(), u"1"_s);
  auto* window = f.Get<QPlainTextEdit>(PageId::ProbeNetwork, u"ResultsText"_s);
  QVERIFY(QFontInfo(window->font()).fixedPitch());
  QCOMPARE(window->lineWrapMode(), QPlainTextEdit::NoWrap);

  PublicStuff copy = f.state;
  const ConnectionArray weights = f.state.Connections;
  f.Present(u"2"_s);
  f.Present(u"2"_s);
  f.Present(u"1"_s);
  const QString two = Q(ProbeBlock(copy, 2, "2", RegionalSettings{}));
  QCOMPARE(probe->ResultsTextValue(), Q(ProbeBlock(copy, 1, "1", RegionalSettings{})) + two + two);
  QCOMPARE(window->toPlainText(), QString(probe->ResultsTextValue()).replace(u"\r\n"_s, u"\n"_s));
  QVERIFY(f.state.Connections == weights);

  f.Get<QPushButton>(PageId::ProbeNetwork, u"ClearText"_s)->click();
  QVERIFY(window->toPlainText().isEmpty());
  f.Present(u"2"_s);
  QCOMPARE(probe->ResultsTextValue(), two);
}

void EvaluationPagesTest::probe_refusals_data() {
  QTest::addColumn<QString>("typed");
  QTest::addColumn<bool>("newFileLoaded");  // a set the memory was not made for
  QTest::addColumn<QString>("title");
  for (const QString& typed : {u""_s, u"abc"_s, u"0"_s, u"-1"_s, u"3"_s, u"1.5"_s})
    QTest::addRow("\"%s\"", qPrintable(typed)) << typed << false << u"Pattern Number"_s;
  QTest::newRow("memory not set up for the new file") << u"1"_s << true << u"Memory Not Set Up"_s;
}

void EvaluationPagesTest::probe_refusals() {
  QFETCH(QString, typed);
  QFETCH(bool, newFileLoaded);
  QFETCH(QString, title);
  Fixture f;
  ProbeNetwork* probe = f.Probe();
  f.Present(u"1"_s);
  const QString before = probe->ResultsTextValue();
  if (newFileLoaded) {
    f.state.NumInputUnits = 4;
    f.state.InputPatterns = Array2D<double>(4, 2);
  }
  f.Present(typed);
  QCOMPARE(f.messages().size(), 1);
  QCOMPARE(f.messages()[0].title, title);
  if (!newFileLoaded) QVERIFY(f.messages()[0].text.contains(u"from 1 to 2"_s));
  QCOMPARE(probe->ResultsTextValue(), before);
}

void EvaluationPagesTest::probe_printsTheWindow() {
  Fixture f;
  ProbeNetwork* probe = f.Probe();
  f.Present(u"2"_s);
  f.Get<QPushButton>(PageId::ProbeNetwork, u"PrintResults"_s)->click();
  // The printout's lines (checked on their own with the printing service) end with the text.
  QCOMPARE(f.platform.printouts().printed().size(), 1);
  const auto& items = f.platform.printouts().printed()[0].items();
  QCOMPARE(items[1].text, u"Results Of Testing Distributed Memory On overlap.net"_s);
  QCOMPARE(items.last().text + u"\r\n"_s, probe->ResultsTextValue().section(u"\r\n"_s, -2));
}

void EvaluationPagesTest::save_namingAFile_data() {
  QTest::addColumn<QString>("answer");
  QTest::addColumn<QString>("name");  // the name used; empty when none is chosen
  QTest::newRow("extension added") << u"run1"_s << u"run1.txt"_s;
  QTest::newRow("extension kept") << u"run1.txt"_s << u"run1.txt"_s;
  QTest::newRow("other letter case") << u"run1.TXT"_s << u"run1.TXT.txt"_s;
  QTest::newRow("short name") << u"a"_s << u"a.txt"_s;
  QTest::newRow("empty answer") << u""_s << u""_s;
}

void EvaluationPagesTest::save_namingAFile() {
  QFETCH(QString, answer);
  QFETCH(QString, name);
  Fixture f;
  f.Save();
  auto* label = f.Get<DisplayBox>(PageId::SaveResults, u"FileNameLabel"_s);
  label->WriteLine(u"earlier.txt"_s);
  f.platform.input().QueueAnswer(answer);
  f.Get<QPushButton>(PageId::SaveResults, u"FileButton"_s)->click();
  QCOMPARE(f.platform.input().calls()[0].title, u"Name File"_s);
  QCOMPARE(f.platform.input().calls()[0].prompt, u"Enter name of file to save:"_s);
  QCOMPARE(label->text(), name.isEmpty() ? u"earlier.txt"_s : name);  // kept when none given
  QCOMPARE(Q(f.state.ResultsFileName),
           name.isEmpty() ? QString() : QDir::cleanPath(f.dir.path()) + u"/"_s + name);
  // Saving with no name does nothing at all.
  f.Get<QPushButton>(PageId::SaveResults, u"SaveFile"_s)->click();
  QCOMPARE(QDir(f.dir.path()).entryList(QDir::Files).size(), name.isEmpty() ? 0 : 1);
}

void EvaluationPagesTest::save_writesTheReportAfterTheOverwriteQuestion() {
  Fixture f;
  qputenv("SOURCE_DATE_EPOCH", "1764944435");
  f.Save();
  // Every creation starts from the design's choice of sections.
  for (int i = 0; i < kReportSectionCount; ++i) {
    auto* box = f.Get<QCheckBox>(PageId::SaveResults, u"Check1(%1)"_s.arg(i));
    QCOMPARE(box->isChecked(), kDefaultReportSections[i]);
    box->setChecked(true);
  }
  const QString path = QDir(f.dir.path()).filePath(u"all.txt"_s);
  QFile old(path);
  QVERIFY(old.open(QIODevice::WriteOnly) && old.write("earlier report") > 0);
  old.close();
  // Clicking a listed file chooses it at once.
  auto* files = f.Get<FileList>(PageId::SaveResults, u"File1"_s);
  QTRY_VERIFY(files->fileNames().contains(u"all.txt"_s));
  files->setCurrentRow(0);
  QCOMPARE(Q(f.state.ResultsFileName), QDir::cleanPath(path));

  auto* save = f.Get<QPushButton>(PageId::SaveResults, u"SaveFile"_s);
  f.platform.messages().QueueAnswer(false);
  save->click();
  QCOMPARE(f.messages().size(), 1);
  const auto& question = f.messages()[0];
  QVERIFY(question.question && !question.yesIsDefault);
  QCOMPARE(question.text, u"File already exists -- overwrite it?"_s);
  QCOMPARE(question.title, u"Pre-existing Filename"_s);
  QVERIFY(old.open(QIODevice::ReadOnly));
  QCOMPARE(old.readAll(), QByteArray("earlier report"));  // No leaves it untouched
  old.close();

  PublicStuff copy = f.state;
  ReportSections all;
  all.fill(true);
  const std::string expected =
      ResultsReportText(copy, all, LocalDateTimeAt(1764944435), RegionalSettings{});
  f.platform.messages().QueueAnswer(true);
  save->click();
  qunsetenv("SOURCE_DATE_EPOCH");
  QVERIFY(old.open(QIODevice::ReadOnly));
  QCOMPARE(old.readAll().toStdString(), expected);
  QCOMPARE(f.messages().size(), 2);  // a successful save shows no message

  // Closed and opened again: the boxes start afresh, the chosen file is remembered.
  f.Get<QPushButton>(PageId::SaveResults, u"Command2"_s)->click();
  f.Save();
  QVERIFY(!f.Get<QCheckBox>(PageId::SaveResults, u"Check1(0)"_s)->isChecked());
  QVERIFY(f.Get<DisplayBox>(PageId::SaveResults, u"FileNameLabel"_s)->text().isEmpty());
  QCOMPARE(Q(f.state.ResultsFileName), QDir::cleanPath(path));
}

void EvaluationPagesTest::save_failuresNameThePath_data() {
  QTest::addColumn<QString>("button");
  QTest::addColumn<QString>("answer");
  QTest::addColumn<QString>("reason");
  QTest::newRow("directory exists already") << u"DirButton"_s << u"taken"_s << u"already exists"_s;
  QTest::newRow("directory under a file")
      << u"DirButton"_s << u"plain/sub"_s << u"Not a directory"_s;
  QTest::newRow("report under a file")
      << u"FileButton"_s << u"plain/report"_s << u"Not a directory"_s;
  QTest::newRow("report onto a directory") << u"FileButton"_s << u"folder"_s << u"Is a directory"_s;
}

void EvaluationPagesTest::save_failuresNameThePath() {
  QFETCH(QString, button);
  QFETCH(QString, answer);
  QFETCH(QString, reason);
  Fixture f;
  QDir(f.dir.path()).mkpath(u"taken"_s);
  QDir(f.dir.path()).mkpath(u"folder.txt"_s);
  QFile plain(QDir(f.dir.path()).filePath(u"plain"_s));
  QVERIFY(plain.open(QIODevice::WriteOnly) && plain.write("kept") == 4);
  plain.close();
  f.Save();
  f.platform.input().QueueAnswer(answer);
  f.Get<QPushButton>(PageId::SaveResults, button)->click();
  if (button == u"FileButton"_s) f.Get<QPushButton>(PageId::SaveResults, u"SaveFile"_s)->click();
  QCOMPARE(f.messages().size(), 1);
  QString path = QDir::cleanPath(QDir(f.dir.path()).filePath(answer));
  if (button == u"FileButton"_s) path += u".txt"_s;
  QVERIFY2(f.messages()[0].text.contains(path) && f.messages()[0].text.contains(reason),
           qPrintable(f.messages()[0].text));
  QVERIFY(f.pages.IsOpen(PageId::SaveResults));
  QCOMPARE(QDir::current(), QDir(f.dir.path()));  // a failed directory is not entered
  QVERIFY(plain.open(QIODevice::ReadOnly));
  QCOMPARE(plain.readAll(), QByteArray("kept"));
  QCOMPARE(QDir(f.dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);  // no leftovers
}

QTEST_MAIN(EvaluationPagesTest)
#include "evaluation_pages_test.moc"
