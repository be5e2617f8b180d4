// The pages reached after training: the hub's ways to examine and to go on, the probe
// page's blocks and refusals, the save page's file names, overwrite question and failures,
// and the SSE chart with its files, printout and the table screen readers read. Expected
// texts come from the core (ProbeBlock, ResultsReportText, SSEHistoryCsv) run on a copy of
// the same state.
#include <QAccessible>
#include <QBarSet>
#include <QCheckBox>
#include <QFontInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSvgRenderer>

#include "learning/engine.h"
#include "learning/training_parameters.h"
#include "page_fixture.h"
#include "pages/chart/plot_sse_data.h"
#include "pages/chart/sse_chart.h"
#include "pages/probe/probe_network.h"
#include "pages/save/save_results.h"
#include "platform/display_box.h"
#include "platform/file_lists.h"
#include "platform/list_box.h"
#include "platform/up_down.h"
#include "report/probe_text.h"
#include "report/report_time.h"
#include "report/sse_history.h"

using namespace corvel;
using namespace Qt::StringLiterals;

namespace {

// The set-up page and the hub open over a new run of `sweeps` sweeps with the Delta rule,
// recording every `every`-th.
struct Fixture : PageFixture {
  explicit Fixture(int sweeps = 100, int every = 10) {
    LoadOverlapSet(state);
    pages.RequestFreshNetwork();
    pages.Open(PageId::DistMem);
    state.LearningRule = "Delta";
    ParameterBoxes boxes{true, false, std::to_string(sweeps), "0.05", std::to_string(every), ""};
    TrainingObserver quiet;
    if (!ReadTrainingParameters(state, boxes).Accepted || RunTraining(state, quiet))
      qFatal("the training run did not go through");
    pages.Open(PageId::TestDAM);
  }
  // Selects an item of a hub list and double-clicks it, as a user does.
  void Choose(const QString& list, int row) {
    auto* box = Get<ListBox>(PageId::TestDAM, list);
    const QPoint at = box->visualItemRect(box->item(row)).center();
    QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(box->viewport(), Qt::LeftButton, {}, at);
  }
  void Click(PageId id, const QString& button) { Get<QPushButton>(id, button)->click(); }
  ProbeNetwork* Probe() { return static_cast<ProbeNetwork*>(pages.Open(PageId::ProbeNetwork)); }
  PlotSSEdata* Chart() { return static_cast<PlotSSEdata*>(pages.Open(PageId::PlotSSEdata)); }
  void Present(const QString& text) {
    Get<QLineEdit>(PageId::ProbeNetwork, u"PatternBox"_s)->setText(text);
    Click(PageId::ProbeNetwork, u"PatternOK"_s);
  }
  // The text of a file of the working directory.
  QByteArray Read(const QString& name) {
    QFile file(Path(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  void Write(const QString& name, const QByteArray& text) {
    QFile file(Path(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
      qFatal("no %s", qPrintable(name));
  }
};

}  // namespace

class EvaluationPagesTest final : public QObject {
  Q_OBJECT
 private slots:
  void hub_examiningPagesOutliveTheHub();
  void hub_doubleClickWithNothingSelected();
  void hub_waysOn_data();
  void hub_waysOn();
  void probe_blocksNewestFirstAndPrinted();
  void probe_refusals_data();
  void probe_refusals();
  void save_namingAFile_data();
  void save_namingAFile();
  void save_writesTheReportAfterTheOverwriteQuestion();
  void save_failuresNameThePath_data();
  void save_failuresNameThePath();
  void chart_oneBarPerHistoryRow_data();
  void chart_oneBarPerHistoryRow();
  void chart_builtOnLoadAndPrintedByWayOfTheClipboard();
  void chart_savedFiles_data();
  void chart_savedFiles();
  void chart_readByScreenReaders();
};

// Each examining page opens once, Enter doing what the double-click does; "Exit Program"
// closes the hub and the set-up page, and the program ends with the last examining page.
void EvaluationPagesTest::hub_examiningPagesOutliveTheHub() {
  Fixture f;
  QSignalSpy ended(&f.pages, &PageRegistry::programEnded);
  const PageId examining[] = {PageId::ProbeNetwork, PageId::SaveResults, PageId::PlotSSEdata};
  for (int row = 0; row < 3; ++row) {
    f.Choose(u"TestList"_s, row);
    Page* opened = f.pages.Find(examining[row]);
    QVERIFY(opened != nullptr);
    QTest::keyClick(f.Get(PageId::TestDAM, u"TestList"_s), Qt::Key_Return);
    QCOMPARE(f.pages.Find(examining[row]), opened);
  }
  QVERIFY(f.messages().isEmpty());
  f.Click(PageId::TestDAM, u"Command2"_s);
  QVERIFY(!f.pages.IsOpen(PageId::TestDAM) && !f.pages.IsOpen(PageId::DistMem));
  QCOMPARE(f.pages.OpenCount(), 3);
  f.pages.Close(PageId::ProbeNetwork);
  f.pages.Close(PageId::SaveResults);
  QCOMPARE(ended.count(), 0);
  f.Click(PageId::PlotSSEdata, u"CloseThisForm"_s);  // "Exit This Page"
  QCOMPARE(ended.count(), 1);
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

void EvaluationPagesTest::probe_blocksNewestFirstAndPrinted() {
  Fixture f;
  ProbeNetwork* probe = f.Probe();
  QCOMPARE(f.Get<UpDown>(PageId::ProbeNetwork, u"PatternUpDown"_s)->maximum(), 2);
  QCOMPARE(f.Get<QLineEdit>(PageId::ProbeNetwork, u"PatternBox"_s)->text(), u"1"_s);
  auto* window = f.Get<QPlainTextEdit>(PageId::ProbeNetwork, u"ResultsText"_s);
  QVERIFY(QFontInfo(window->font()).fixedPitch());  // the blocks' columns line up

  PublicStuff copy = f.state;
  const ConnectionArray weights = f.state.Connections;
  f.Present(u"2"_s);
  f.Present(u"2"_s);
  f.Present(u"1"_s);
  const QString two = Q(ProbeBlock(copy, 2, "2", RegionalSettings{}));
  QCOMPARE(probe->ResultsTextValue(), Q(ProbeBlock(copy, 1, "1", RegionalSettings{})) + two + two);
  QCOMPARE(window->toPlainText(), QString(probe->ResultsTextValue()).replace(u"\r\n"_s, u"\n"_s));
  QVERIFY(f.state.Connections == weights);

  f.Click(PageId::ProbeNetwork, u"ClearText"_s);
  QVERIFY(window->toPlainText().isEmpty());
  f.Present(u"2"_s);
  QCOMPARE(probe->ResultsTextValue(), two);
  // The printout's lines (checked on their own with the printing service) end with the text.
  f.Click(PageId::ProbeNetwork, u"PrintResults"_s);
  QCOMPARE(f.platform.printouts().printed().size(), 1);
  const auto& items = f.platform.printouts().printed()[0].items();
  QCOMPARE(items[1].text, u"Results Of Testing Distributed Memory On overlap.net"_s);
  QCOMPARE(items.last().text + u"\r\n"_s, two.section(u"\r\n"_s, -2));
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
  f.pages.Open(PageId::SaveResults);
  auto* label = f.Get<DisplayBox>(PageId::SaveResults, u"FileNameLabel"_s);
  label->WriteLine(u"earlier.txt"_s);
  f.platform.input().QueueAnswer(answer);
  f.Click(PageId::SaveResults, u"FileButton"_s);
  QCOMPARE(f.platform.input().calls()[0].title, u"Name File"_s);
  QCOMPARE(f.platform.input().calls()[0].prompt, u"Enter name of file to save:"_s);
  QCOMPARE(label->text(), name.isEmpty() ? u"earlier.txt"_s : name);  // kept when none given
  QCOMPARE(Q(f.state.ResultsFileName), name.isEmpty() ? QString() : f.Path(name));
  // Saving with no name does nothing at all.
  f.Click(PageId::SaveResults, u"SaveFile"_s);
  QCOMPARE(QDir(f.dir.path()).entryList(QDir::Files).size(), name.isEmpty() ? 0 : 1);
}

void EvaluationPagesTest::save_writesTheReportAfterTheOverwriteQuestion() {
  Fixture f;
  qputenv("SOURCE_DATE_EPOCH", "1764944435");
  f.pages.Open(PageId::SaveResults);
  // Every creation starts from the design's choice of sections.
  for (int i = 0; i < kReportSectionCount; ++i) {
    auto* box = f.Get<QCheckBox>(PageId::SaveResults, u"Check1(%1)"_s.arg(i));
    QCOMPARE(box->isChecked(), kDefaultReportSections[i]);
    box->setChecked(true);
  }
  f.Write(u"all.txt"_s, "earlier report");
  // Clicking a listed file chooses it at once.
  auto* files = f.Get<FileList>(PageId::SaveResults, u"File1"_s);
  QTRY_VERIFY(files->fileNames().contains(u"all.txt"_s));
  files->setCurrentRow(0);
  QCOMPARE(Q(f.state.ResultsFileName), f.Path(u"all.txt"_s));

  f.platform.messages().QueueAnswer(false);
  f.Click(PageId::SaveResults, u"SaveFile"_s);
  QCOMPARE(f.messages().size(), 1);
  QVERIFY(f.messages()[0].question && !f.messages()[0].yesIsDefault);
  QCOMPARE(f.messages()[0].text, u"File already exists -- overwrite it?"_s);
  QCOMPARE(f.messages()[0].title, u"Pre-existing Filename"_s);
  QCOMPARE(f.Read(u"all.txt"_s), QByteArray("earlier report"));  // No leaves it untouched

  PublicStuff copy = f.state;
  ReportSections all;
  all.fill(true);
  f.platform.messages().QueueAnswer(true);
  f.Click(PageId::SaveResults, u"SaveFile"_s);
  qunsetenv("SOURCE_DATE_EPOCH");
  QCOMPARE(f.Read(u"all.txt"_s).toStdString(),
           ResultsReportText(copy, all, LocalDateTimeAt(1764944435), RegionalSettings{}));
  QCOMPARE(f.messages().size(), 2);  // a successful save shows no message

  // Closed and opened again: the boxes start afresh, the chosen file is remembered.
  f.Click(PageId::SaveResults, u"Command2"_s);
  f.pages.Open(PageId::SaveResults);
  QVERIFY(!f.Get<QCheckBox>(PageId::SaveResults, u"Check1(0)"_s)->isChecked());
  QVERIFY(f.Get<DisplayBox>(PageId::SaveResults, u"FileNameLabel"_s)->text().isEmpty());
  QCOMPARE(Q(f.state.ResultsFileName), f.Path(u"all.txt"_s));
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
  f.Write(u"plain"_s, "kept");
  f.pages.Open(PageId::SaveResults);
  f.platform.input().QueueAnswer(answer);
  f.Click(PageId::SaveResults, button);
  const bool report = button == u"FileButton"_s;
  if (report) f.Click(PageId::SaveResults, u"SaveFile"_s);
  QCOMPARE(f.messages().size(), 1);
  const QString path = f.Path(answer) + (report ? u".txt"_s : QString());
  QVERIFY2(f.messages()[0].text.contains(path) && f.messages()[0].text.contains(reason),
           qPrintable(f.messages()[0].text));
  QVERIFY(f.pages.IsOpen(PageId::SaveResults));
  QCOMPARE(QDir::current(), QDir(f.dir.path()));  // a failed directory is not entered
  QCOMPARE(f.Read(u"plain"_s), QByteArray("kept"));
  QCOMPARE(QDir(f.dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);  // no leftovers
}

void EvaluationPagesTest::chart_oneBarPerHistoryRow_data() {
  QTest::addColumn<int>("sweeps");
  QTest::addColumn<int>("every");
  QTest::addColumn<int>("bars");
  QTest::newRow("few bars: each labelled, with edges") << 100 << 10 << 11;
  QTest::newRow("full history: its first 2000 rows, no edges") << 2500 << 1 << 2000;
}

void EvaluationPagesTest::chart_oneBarPerHistoryRow() {
  QFETCH(int, sweeps);
  QFETCH(int, every);
  QFETCH(int, bars);
  Fixture f(sweeps, every);
  SSEChart* chart = f.Chart()->chart();
  QCOMPARE(chart->Bars()->count(), bars);
  QStringList sweepTexts;
  for (int row = 0; row < bars; ++row) {
    sweepTexts << QString::number(every * row);
    QCOMPARE(chart->Bars()->at(row), f.state.SSEHistory[row + 1][2]);
    QCOMPARE(chart->SweepText(row), sweepTexts.last());
    QCOMPARE(chart->SSEText(row), Q(GeneralNumberText(f.state.SSEHistory[row + 1][2], {})));
  }
  const QStringList labels = chart->AxisLabels();
  QCOMPARE(labels.first(), u"0"_s);
  if (bars < 20)
    QCOMPARE(labels, sweepTexts);
  else
    QVERIFY2(labels.size() >= 5 && labels.size() <= 15, qPrintable(labels.join(u' ')));
  QCOMPARE(chart->Bars()->pen().style(), bars < 20 ? Qt::SolidLine : Qt::NoPen);
}

void EvaluationPagesTest::chart_builtOnLoadAndPrintedByWayOfTheClipboard() {
  Fixture f;
  PlotSSEdata* page = f.Chart();
  f.Click(PageId::PlotSSEdata, u"PrintThisGraph"_s);
  const QImage picture = f.platform.clip().Picture();
  QCOMPARE(picture.size(), page->chart()->size());
  QCOMPARE(f.platform.printouts().printed().size(), 1);
  const auto& items = f.platform.printouts().printed()[0].items();
  QCOMPARE(items.size(), 2);
  QCOMPARE(items[0].text, u" "_s);
  QCOMPARE(items[1].kind, PrintDocument::Item::Kind::Picture);
  QCOMPARE(items[1].at, QPointF(0, 0));
  QCOMPARE(items[1].picture, picture);

  f.state.SSEHistoryCount = 3;
  QCOMPARE(f.Chart()->chart()->RowCount(), 11);  // shown again: the chart of its load
  f.Click(PageId::PlotSSEdata, u"CloseThisForm"_s);
  QCOMPARE(f.Chart()->chart()->RowCount(), 3);  // opened again: the history of now
  f.Click(PageId::PlotSSEdata, u"CloseThisForm"_s);
  f.state.SSEHistoryCount = 0;  // no history at all still gets an axis to stand on
  QCOMPARE(f.Chart()->chart()->RowCount(), 0);
}

void EvaluationPagesTest::chart_savedFiles_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("fault");  // empty: the file is written
  QTest::newRow("data") << u"sse.csv"_s << QString();
  QTest::newRow("PNG picture") << u"chart.PNG"_s << QString();
  QTest::newRow("SVG picture") << u"chart.svg"_s << QString();
  QTest::newRow("other picture kind") << u"chart.jpg"_s << u".png or .svg"_s;
  QTest::newRow("folder is a file") << u"plain/chart.png"_s << u"Not a directory"_s;
}

void EvaluationPagesTest::chart_savedFiles() {
  QFETCH(QString, name);
  QFETCH(QString, fault);
  Fixture f;
  f.Write(u"plain"_s, "kept");
  PlotSSEdata* page = f.Chart();
  const QString path = f.Path(name);
  f.platform.files().QueueAnswer(path);
  if (name.endsWith(u".csv"_s))
    page->SaveDataAs();
  else
    page->SavePictureAs();
  QCOMPARE(f.messages().size(), fault.isEmpty() ? 0 : 1);
  const QByteArray bytes = f.Read(name);
  if (!fault.isEmpty()) {
    QVERIFY(f.messages()[0].text.contains(path) && f.messages()[0].text.contains(fault));
    QVERIFY(!QFile::exists(path));
  } else if (name.endsWith(u".csv"_s)) {
    QCOMPARE(bytes.toStdString(), SSEHistoryCsv(SSEHistoryPoints(f.state)));
  } else if (name.endsWith(u".svg"_s)) {
    QVERIFY(QSvgRenderer(bytes).isValid());
  } else {
    QCOMPARE(QImage::fromData(bytes, "PNG").size(), page->chart()->size());
  }
}

// A screen reader finds a table of sweeps and SSEs, headers first, whose current row the
// keyboard walks, with cells that go with the chart.
void EvaluationPagesTest::chart_readByScreenReaders() {
  auto* chart = new SSEChart;
  chart->Build({{0, 4}, {10, 2.5}, {20, 0.125}}, RegionalSettings{});
  chart->show();
  chart->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(chart));

  QAccessibleInterface* table = QAccessible::queryAccessibleInterface(chart);
  QAccessibleTableInterface* rows = table->tableInterface();
  QVERIFY(rows != nullptr);
  QCOMPARE(table->role(), QAccessible::Table);
  QCOMPARE(table->text(QAccessible::Name), chart->Title());
  QCOMPARE(rows->rowCount(), 3);
  QCOMPARE(rows->columnCount(), 2);
  QCOMPARE(table->childCount(), 8);
  QCOMPARE(table->child(1)->role(), QAccessible::ColumnHeader);
  QCOMPARE(rows->columnDescription(0), u"Sweeps Of Training"_s);
  QCOMPARE(rows->columnDescription(1), u"Network SSE"_s);
  QAccessibleInterface* cell = rows->cellAt(1, 1);
  QCOMPARE(cell->role(), QAccessible::Cell);
  QCOMPARE(cell->text(QAccessible::Name), u"2.5"_s);
  QCOMPARE(cell->tableCellInterface()->columnHeaderCells().value(0), table->child(1));
  QCOMPARE(table->child(table->indexOfChild(cell)), cell);
  QVERIFY(table->rect().contains(cell->rect()));
  QVERIFY(rows->cellAt(3, 0) == nullptr && table->child(8) == nullptr);

  // The keyboard moves the current row, which is the focused cell's and the selected row;
  // choosing a row from the reader makes it current.
  chart->setFocus();
  const std::pair<Qt::Key, int> walk[] = {{Qt::Key_Down, 1},     {Qt::Key_End, 2},
                                          {Qt::Key_Down, 2},     {Qt::Key_Home, 0},
                                          {Qt::Key_PageDown, 2}, {Qt::Key_Up, 1}};
  for (auto [key, row] : walk) {
    QTest::keyClick(chart, key);
    QCOMPARE(rows->selectedRows(), QList<int>{row});
    QCOMPARE(table->focusChild(), rows->cellAt(row, 0));
    QVERIFY(table->focusChild()->state().focused);
  }
  QVERIFY(rows->selectRow(2) && !rows->selectRow(3));
  QCOMPARE(chart->CurrentRow(), 2);
  QCOMPARE(rows->selectedCells(), QList({rows->cellAt(2, 0), rows->cellAt(2, 1)}));
  QVERIFY(rows->cellAt(2, 1)->state().selected && !cell->state().selected);

  // The cells go with the chart.
  const QAccessible::Id id = QAccessible::uniqueId(cell);
  delete chart;
  QVERIFY(QAccessible::accessibleInterface(id) == nullptr);
}

QTEST_MAIN(EvaluationPagesTest)
#include "evaluation_pages_test.moc"
