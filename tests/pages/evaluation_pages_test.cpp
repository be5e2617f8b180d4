// The pages reached after training, for what the acceptance tour does not reach: the hub's
// answer to nothing chosen and its "Exit Program", the probe page's refusals and clearing,
// the save page's file names and failures, and the SSE chart's bars, files, printout and the
// keyboard on the table screen readers read. An expected data file comes from the core
// (SSEHistoryCsv) run on the same state.
#include <QAccessible>
#include <QApplication>
#include <QBarSet>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSvgRenderer>
#include <QTimer>

#include "learning/engine.h"
#include "learning/training_parameters.h"
#include "page_fixture.h"
#include "pages/chart/plot_sse_data.h"
#include "pages/chart/sse_chart.h"
#include "pages/probe/probe_network.h"
#include "pages/weights/responses_model.h"
#include "pages/weights/view_weights.h"
#include "pages/weights/weight_map_view.h"
#include "platform/display_box.h"
#include "report/network_csv.h"
#include "report/probe_text.h"
#include "report/sse_history.h"

#include <sys/resource.h>

#include <cmath>
#include <csignal>
#include <optional>

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
  void Click(PageId id, const QString& button) { Get<QPushButton>(id, button)->click(); }
  ProbeNetwork* Probe() { return static_cast<ProbeNetwork*>(pages.Open(PageId::ProbeNetwork)); }
  PlotSSEdata* Chart() { return static_cast<PlotSSEdata*>(pages.Open(PageId::PlotSSEdata)); }
  void Present(const QString& text) {
    Get<QLineEdit>(PageId::ProbeNetwork, u"PatternBox"_s)->setText(text);
    Click(PageId::ProbeNetwork, u"PatternOK"_s);
  }
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

// While it lives, files may grow to `bytes` at most; a write past that fails (EFBIG) instead
// of ending the process.
struct FileSizeLimit {
  rlimit old{};
  explicit FileSizeLimit(rlim_t bytes) {
    std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit limited = old;
    limited.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limited);
  }
  ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &old); }
};

}  // namespace

class EvaluationPagesTest final : public QObject {
  Q_OBJECT
 private slots:
  void hub_nothingChosenAndExitProgram();
  void probe_cleared();
  void probe_refusals_data();
  void probe_refusals();
  void save_failuresNameThePath_data();
  void save_failuresNameThePath();
  void save_noticeTellsTheLastAttempt();
  void chart_fullHistory();
  void chart_builtOnLoadAndPrintedByWayOfTheClipboard();
  void chart_savedFiles_data();
  void chart_savedFiles();
  void chart_readByScreenReaders();
  void chart_logarithmicScaleIsKept();
  void weights_showTheMemoryAndEveryResponse();
  void weights_followTheNetwork();
  void weights_savedFiles();
};

// Enter with nothing chosen in the continue list is answered as in the examine list (where
// the tour tries it, and walks each way on); "Exit Program" closes the hub and the set-up page,
// and the program ends with the last examining page.
void EvaluationPagesTest::hub_nothingChosenAndExitProgram() {
  Fixture f;
  QSignalSpy ended(&f.pages, &PageRegistry::programEnded);
  QTest::keyClick(f.Get(PageId::TestDAM, u"ContinueList"_s), Qt::Key_Return);
  QCOMPARE(f.messages().size(), 1);
  QCOMPARE(f.messages()[0].text, u"No method for continuing has been selected!"_s);
  f.Chart();
  f.Click(PageId::TestDAM, u"Command2"_s);
  QCOMPARE(f.pages.OpenCount(), 1);  // the chart's
  QCOMPARE(ended.count(), 0);
  f.Click(PageId::PlotSSEdata, u"CloseThisForm"_s);  // "Exit This Page"
  QCOMPARE(ended.count(), 1);
}

// Clearing empties the window and what a printout would print. The tours pin the blocks
// themselves, newest first, and their printout.
void EvaluationPagesTest::probe_cleared() {
  Fixture f;
  ProbeNetwork* probe = f.Probe();
  f.Present(u"1"_s);
  f.Click(PageId::ProbeNetwork, u"ClearText"_s);
  QVERIFY(f.Get<QPlainTextEdit>(PageId::ProbeNetwork, u"ResultsText"_s)->toPlainText().isEmpty());
  QVERIFY(probe->ResultsTextValue().isEmpty());
}

// Each row of the probe page's table in docs/robustness.md, and a memory not yet made for a
// newly loaded set: a refusal leaves the window as it was.
void EvaluationPagesTest::probe_refusals_data() {
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("outcome");
  for (const QStringList& row : RobustnessRows(u"Probe page"_s))
    QTest::newRow(qPrintable(row[0])) << TypedText(row[0]) << row[1];
  QTest::newRow("memory not set up for the new file") << u"1"_s << QString();
}

void EvaluationPagesTest::probe_refusals() {
  QFETCH(QString, typed);
  QFETCH(QString, outcome);
  Fixture f;
  ProbeNetwork* probe = f.Probe();
  f.Present(u"1"_s);
  const QString before = probe->ResultsTextValue();
  if (outcome.isEmpty()) {
    f.state.NumInputUnits = 4;
    f.state.InputPatterns = Array2D<double>(4, 2);
  }
  f.Present(typed);
  if (outcome == u"The pattern's block"_s) {
    QVERIFY(f.messages().isEmpty());
    QVERIFY(probe->ResultsTextValue().startsWith(u"Pattern: "_s + typed));
    return;
  }
  QCOMPARE(f.messages().size(), 1);
  if (outcome.isEmpty()) {
    QCOMPARE(f.messages()[0].title, u"Memory Not Set Up"_s);
  } else {
    QCOMPARE(u"Warning \"%1\": %2"_s.arg(f.messages()[0].title, f.messages()[0].text), outcome);
  }
  QCOMPARE(probe->ResultsTextValue(), before);
}

void EvaluationPagesTest::save_failuresNameThePath_data() {
  QTest::addColumn<QString>("box");
  QTest::addColumn<QString>("answer");
  QTest::addColumn<QString>("outcome");
  for (const QStringList& row : RobustnessRows(u"Save page"_s))
    QTest::newRow(qPrintable(row[0] + u' ' + row[1])) << row[0] << TypedText(row[1]) << row[2];
  QTest::newRow("report over the file size limit")
      << u"Name File"_s << u"kept"_s << u"Warning \"Report Not Saved\": File too large"_s;
}

// Each row of the save page's table in docs/robustness.md, and a report over an earlier one
// with files kept tiny: the message names the path and the system's reason; an earlier
// report of that name is kept, no temporary file is left, and a failed folder is not entered.
void EvaluationPagesTest::save_failuresNameThePath() {
  QFETCH(QString, box);
  QFETCH(QString, answer);
  QFETCH(QString, outcome);
  Fixture f;
  QDir(f.dir.path()).mkpath(u"taken"_s);
  QDir(f.dir.path()).mkpath(u"folder.txt"_s);
  f.Write(u"plain"_s, "kept");
  const bool sizeLimited = answer == u"kept"_s;
  if (sizeLimited) f.Write(u"kept.txt"_s, "kept");
  f.pages.Open(PageId::SaveResults);
  f.platform.input().QueueAnswer(answer);
  f.platform.messages().QueueAnswer(true);  // yes, replace the earlier report
  const bool report = box == u"Name File"_s;
  f.Click(PageId::SaveResults, report ? u"FileButton"_s : u"DirButton"_s);
  if (outcome.startsWith(u"Warning"_s) && report) {
    std::optional<FileSizeLimit> limit;
    if (sizeLimited) limit.emplace(2);
    f.Click(PageId::SaveResults, u"SaveFile"_s);
  }
  const QStringList entries =
      QDir(f.dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
  QCOMPARE(entries.size(), sizeLimited ? 4 : 3);  // nothing made, nothing left over
  QCOMPARE(QDir::current(), QDir(f.dir.path()));
  static const QRegularExpression chosen(u"^The file `(.*)` is chosen$"_s);
  if (const QRegularExpressionMatch m = chosen.match(outcome); m.hasMatch()) {
    QCOMPARE(f.Get<DisplayBox>(PageId::SaveResults, u"FileNameLabel"_s)->text(), m.captured(1));
    QCOMPARE(Q(f.state.ResultsFileName), f.Path(m.captured(1)));
  }
  if (!outcome.startsWith(u"Warning"_s)) {
    QVERIFY(f.messages().isEmpty());
    QCOMPARE(f.state.ResultsFileName.empty(), outcome.startsWith(u"No "_s));
    return;
  }
  static const QRegularExpression warning(u"^Warning \"(.*)\".*: (.*)$"_s);
  const QRegularExpressionMatch m = warning.match(outcome);
  const QString path = f.Path(answer) + (report ? u".txt"_s : QString());
  QVERIFY(m.hasMatch());
  QCOMPARE(f.messages().last().title, m.captured(1));
  const QString shown = f.messages().last().text;
  QVERIFY2(shown.contains(path) && shown.contains(m.captured(2)), qPrintable(shown));
  if (sizeLimited) QCOMPARE(f.Read(u"kept.txt"_s), QByteArray("kept"));
}

// The foot notice names in full the file "Save The File" writes, then the outcome of the
// last attempt: saved, refused by No, or failed; never an earlier save beside a new name.
void EvaluationPagesTest::save_noticeTellsTheLastAttempt() {
  Fixture f;
  f.Write(u"plain"_s, "kept");
  f.pages.Open(PageId::SaveResults);
  const auto notice = [&] {
    return f.Get<QLabel>(PageId::SaveResults, u"Label3"_s)->accessibleName();
  };
  const auto name = [&](const QString& answer) {
    f.platform.input().QueueAnswer(answer);
    f.Click(PageId::SaveResults, u"FileButton"_s);
  };
  const QString r2 = QDir::toNativeSeparators(f.Path(u"r2.txt"_s));
  name(u"r2"_s);
  QCOMPARE(notice(), u"The report will be saved as %1."_s.arg(r2));
  f.Click(PageId::SaveResults, u"SaveFile"_s);
  QCOMPARE(notice(), u"The report was saved as %1."_s.arg(r2));
  f.platform.messages().QueueAnswer(false);
  f.Click(PageId::SaveResults, u"SaveFile"_s);
  QCOMPARE(notice(), u"Nothing was saved: %1 was kept as it was."_s.arg(r2));
  name(u"plain/report"_s);
  f.Click(PageId::SaveResults, u"SaveFile"_s);
  const QString failed = QDir::toNativeSeparators(f.Path(u"plain/report.txt"_s));
  QCOMPARE(notice(), u"The report could not be saved as %1."_s.arg(failed));
  f.Click(PageId::SaveResults, u"Command2"_s);
  f.pages.Open(PageId::SaveResults);  // the chosen file is still the one written
  QCOMPARE(notice(), u"The report will be saved as %1."_s.arg(failed));
  name(QString());
  QVERIFY(notice().startsWith(u"Choose or name a file"_s));
}

// A full history shows its first 2000 rows, without edges and with fewer labels than bars.
// The tour reads a short history's rows as the chart labels them.
void EvaluationPagesTest::chart_fullHistory() {
  Fixture f(2500, 1);
  SSEChart* chart = f.Chart()->chart();
  QCOMPARE(chart->Bars()->count(), 2000);
  QCOMPARE(chart->Bars()->at(1999), f.state.SSEHistory[2000][2]);  // the first 2000 rows
  const QStringList labels = chart->AxisLabels();
  QVERIFY2(labels.size() >= 5 && labels.size() <= 15, qPrintable(labels.join(u' ')));
  QCOMPARE(chart->Bars()->pen().style(), Qt::NoPen);
}

void EvaluationPagesTest::chart_builtOnLoadAndPrintedByWayOfTheClipboard() {
  Fixture f;
  f.Chart();
  f.Click(PageId::PlotSSEdata, u"PrintThisGraph"_s);
  const QImage picture = f.platform.clip().Picture();
  QCOMPARE(f.platform.printouts().printed().size(), 1);
  const auto& items = f.platform.printouts().printed()[0].items();
  QCOMPARE(items.size(), 2);
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
  QTest::addColumn<bool>("data");      // "Save Data As…", else "Save Picture As…"
  QTest::addColumn<QString>("fault");  // empty: the file is written
  QTest::newRow("data") << u"sse.csv"_s << true << QString();
  QTest::newRow("data named without an extension") << u"sse"_s << true << QString();
  QTest::newRow("data under a picture's name") << u"chart.png"_s << true << u".csv"_s;
  QTest::newRow("PNG picture") << u"chart.PNG"_s << false << QString();
  QTest::newRow("picture named without an extension") << u"chart"_s << false << QString();
  QTest::newRow("SVG picture") << u"chart.svg"_s << false << QString();
  QTest::newRow("other picture kind") << u"chart.jpg"_s << false << u".png or .svg"_s;
  QTest::newRow("folder is a file") << u"plain/chart.png"_s << false << u"Not a directory"_s;
  QTest::newRow("name too long") << QString(300, u'c') + u".png"_s << false
                                 << u"File name too long"_s;
  QTest::newRow("data over the file size limit") << u"kept.csv"_s << true << u"File too large"_s;
  QTest::newRow("picture over the file size limit")
      << u"kept.png"_s << false << u"File too large"_s;
}

void EvaluationPagesTest::chart_savedFiles() {
  QFETCH(QString, name);
  QFETCH(bool, data);
  QFETCH(QString, fault);
  Fixture f;
  f.Write(u"plain"_s, "kept");
  const bool overFile = name.startsWith(u"kept"_s) || name == u"chart.png"_s;
  if (overFile) f.Write(name, "kept");
  PlotSSEdata* page = f.Chart();
  f.platform.files().QueueAnswer(f.Path(name));
  {
    std::optional<FileSizeLimit> limit;
    if (name.startsWith(u"kept"_s)) limit.emplace(2);
    if (data)
      page->SaveDataAs();
    else
      page->SavePictureAs();
  }
  QCOMPARE(f.messages().size(), fault.isEmpty() ? 0 : 1);
  const QString written =
      QFileInfo(name).suffix().isEmpty() ? name + (data ? u".csv"_s : u".png"_s) : name;
  const QByteArray bytes = f.Read(written);
  if (!fault.isEmpty()) {
    QVERIFY(f.messages()[0].text.contains(f.Path(name)) && f.messages()[0].text.contains(fault));
    QCOMPARE(bytes, overFile ? QByteArray("kept") : QByteArray());  // the earlier file kept
    QCOMPARE(QDir(f.dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1 + overFile);
  } else if (data) {
    QCOMPARE(bytes.toStdString(), SSEHistoryCsv(SSEHistoryPoints(f.state)));
  } else if (written.endsWith(u".svg"_s)) {
    QVERIFY(QSvgRenderer(bytes).isValid());
  } else {
    QCOMPARE(QImage::fromData(bytes, "PNG").size(), page->chart()->size());
  }
}

// The table screen readers read: the tours read its headers and cells, and a screen reader
// hears Home and End move the focus; here the other keys, selection from the reader and the
// cells' end.
void EvaluationPagesTest::chart_readByScreenReaders() {
  auto* chart = new SSEChart;
  const QPointer<QChart> empty = chart->chart();  // the one a view is made with
  chart->Build({{0, 4}, {10, 2.5}, {20, 0.125}}, RegionalSettings{});
  QVERIFY(empty.isNull());  // replaced and deleted, not leaked
  chart->show();
  chart->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(chart));

  QAccessibleInterface* table = QAccessible::queryAccessibleInterface(chart);
  QAccessibleTableInterface* rows = table->tableInterface();
  QAccessibleInterface* cell = rows->cellAt(1, 1);
  QVERIFY(rows->cellAt(3, 0) == nullptr && table->child(8) == nullptr);

  // The keyboard moves the current row, which is the selected row; choosing a row from the
  // reader makes it current.
  chart->setFocus();
  const std::pair<Qt::Key, int> walk[] = {
      {Qt::Key_Down, 1}, {Qt::Key_PageDown, 2}, {Qt::Key_Down, 2}, {Qt::Key_Up, 1}};
  for (auto [key, row] : walk) {
    QTest::keyClick(chart, key);
    QCOMPARE(rows->selectedRows(), QList<int>{row});
  }
  // Left and Right move between the sweep and the SSE, which is then the focused cell.
  QTest::keyClick(chart, Qt::Key_Right);
  QCOMPARE(table->focusChild(), rows->cellAt(1, 1));
  QVERIFY(rows->cellAt(1, 1)->state().focused && !rows->cellAt(1, 0)->state().focused);
  QTest::keyClick(chart, Qt::Key_Left);
  QCOMPARE(table->focusChild(), rows->cellAt(1, 0));
  QVERIFY(rows->selectRow(2) && !rows->selectRow(3));
  QCOMPARE(chart->CurrentRow(), 2);
  QCOMPARE(rows->selectedCells(), QList({rows->cellAt(2, 0), rows->cellAt(2, 1)}));
  QVERIFY(rows->cellAt(2, 1)->state().selected && !cell->state().selected);
  // Only whole rows are selected, one at a time; a column never is.
  QVERIFY(rows->isRowSelected(2) && !rows->isRowSelected(1) && rows->selectedRowCount() == 1);
  QVERIFY(rows->selectedCellCount() == 2 && rows->selectedColumnCount() == 0);
  QVERIFY(!rows->isColumnSelected(0) && !rows->selectColumn(0) && !rows->unselectRow(2));
  QCOMPARE(rows->columnDescription(1), chart->YTitle());
  // A cell is one row high and one column wide, with its column's header and no row header.
  QAccessibleTableCellInterface* one = cell->tableCellInterface();
  QVERIFY(one->rowExtent() == 1 && one->columnExtent() == 1 && one->rowHeaderCells().isEmpty());
  QVERIFY(cell->childCount() == 0 && cell->child(0) == nullptr && cell->window());

  // The cells go with the chart.
  const QAccessible::Id id = QAccessible::uniqueId(cell);
  delete chart;
  QVERIFY(QAccessible::accessibleInterface(id) == nullptr);
}

// "Logarithmic SSE Scale" from the chart's menu redraws the bars in decades above the power of
// ten below the smallest SSE, and the chart keeps that scale when opened again.
void EvaluationPagesTest::chart_logarithmicScaleIsKept() {
  Fixture f;
  SSEChart* chart = f.Chart()->chart();
  QVERIFY(!chart->IsLogarithmic());
  QTimer::singleShot(0, [] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    for (QAction* item : menu->actions())
      if (item->text() == u"Logarithmic SSE Scale"_s) item->trigger();
    menu->close();
  });
  chart->setFocus();
  QTest::keyClick(chart, Qt::Key_F10, Qt::ShiftModifier);
  QVERIFY(chart->IsLogarithmic() && f.pages.remembered().logarithmicSSEScale);
  const double first = f.state.SSEHistory[1][2];
  QCOMPARE(chart->Bars()->at(0), std::log10(first) - chart->Axis().FootExponent);
  QVERIFY(chart->SSEAxisLabels().last().startsWith(u"1"_s));
  f.Click(PageId::PlotSSEdata, u"CloseThisForm"_s);
  QVERIFY(f.Chart()->chart()->IsLogarithmic());
}

namespace {

ViewWeights* OpenWeights(Fixture& f) {
  f.Click(PageId::TestDAM, u"ViewWeights"_s);
  auto* page = static_cast<ViewWeights*>(f.pages.Find(PageId::ViewWeights));
  page->FinishWork();
  return page;
}

std::string Collected(const std::function<bool(const ByteSink&)>& write) {
  std::string text;
  write([&text](std::string_view piece) {
    text += piece;
    return true;
  });
  return text;
}

}  // namespace

// The map reads the weights as the report writes them, rows of input units, columns of output
// units; the table holds each pattern's response, desired output and error as the probe page
// prints them, and marks the pattern of the largest SSE. Keys move the current cell and zoom.
void EvaluationPagesTest::weights_showTheMemoryAndEveryResponse() {
  Fixture f;
  ViewWeights* page = OpenWeights(f);
  WeightMapView* map = page->map();
  QCOMPARE(std::pair(map->GridRows(), map->GridColumns()), std::pair(3, 2));
  QCOMPARE(map->GridCellText(2, 1), Q(FormatSigned2(f.state.Connections.Weight(2, 3), {})));
  QCOMPARE(map->GridRowHeader(2) + map->GridColumnHeader(1), u"INP 3Out 2"_s);
  QCOMPARE(QAccessible::queryAccessibleInterface(map)->text(QAccessible::Name), u"Weights"_s);
  map->setFocus();
  QTest::keyClick(map, Qt::Key_Right);
  QTest::keyClick(map, Qt::Key_End, Qt::ControlModifier);
  QCOMPARE(f.Get<QLabel>(PageId::ViewWeights, u"CellLabel"_s)->text(),
           u"Input unit 3 to output unit 2: weight "_s + map->GridCellText(2, 1));
  // A memory of more units than pixels is drawn reduced, and zooms in to whole cells.
  PublicStuff big;
  big.NumInputUnits = big.NumOutputUnits = 1000;
  big.InputPatterns = Array2D<double>(1000, 0);
  big.DesiredOutputs = Array2D<double>(1000, 0);
  big.AllocateNetwork();
  big.Connections.Weight(1000, 1000) = -2;
  map->Show(&big, {});
  page->FinishWork();
  QVERIFY(map->FitsTheView() && map->CellPixels() < 1 && map->Scale() == 2);
  const double fit = map->CellPixels();
  QTest::keyClick(map, Qt::Key_Plus);
  QCOMPARE(map->CellPixels(), 2 * fit);
  for (int i = 0; i < 8; ++i) QTest::keyClick(map, Qt::Key_Plus);
  QVERIFY(!map->FitsTheView() && map->CellPixels() == 48);
  QTest::keyClick(map, Qt::Key_0);
  QVERIFY(map->FitsTheView() && map->CellPixels() < 1);
  map->Show(&f.state, {});

  ResponsesModel* table = page->responses();
  QCOMPARE(table->columnCount(), 3 * 2 + 2);
  int worst = 1;
  for (int p = 1; p <= 2; ++p) {
    const QStringList block = Q(ProbeBlock(f.state, p, std::to_string(p), {})).split(u"\r\n"_s);
    QString printed;
    for (int c = 1; c <= 6; ++c) printed += table->index(p - 1, c).data().toString() + u'\t';
    QString probed = block[2] + block[3] + block[4];
    QCOMPARE(printed, probed.remove(QRegularExpression(u"[^\t]*:\t"_s)));
    if (PatternSSE(f.state) > table->SSE(worst)) worst = p;
    QCOMPARE(table->SSE(p), PatternSSE(f.state));
  }
  QCOMPARE(table->WorstPattern(), std::optional<int>(worst));
  QCOMPARE(table->index(worst - 1, 0).data().toString(), u"%1 (worst)"_s.arg(worst));
  QVERIFY(f.Get<QLabel>(PageId::ViewWeights, u"WorstLabel"_s)
              ->text()
              .startsWith(u"Worst pattern: %1, with an SSE of "_s.arg(worst)));
}

// The page follows the network: the weights a run leaves, the zeros of a reset, and a training
// set the memory is not yet made for.
void EvaluationPagesTest::weights_followTheNetwork() {
  Fixture f;
  ViewWeights* page = OpenWeights(f);
  f.Click(PageId::DistMem, u"StartTraining"_s);  // the page's own settings: Hebb, 100 sweeps
  page->FinishWork();
  QCOMPARE(page->map()->GridCellText(0, 0), Q(FormatSigned2(f.state.Connections.Weight(1, 1), {})));
  QCOMPARE(page->responses()->index(0, 1).data().toString(),
           Q(FormatSigned2(NetInputs(f.state)[0], {})));
  f.pages.RequestFreshNetwork();
  static_cast<Page*>(f.pages.Find(PageId::DistMem))->Form_Activate();
  page->FinishWork();
  QCOMPARE(page->map()->GridCellText(0, 0), u"+.00"_s);
  QCOMPARE(page->map()->Scale(), 0.0);
  f.state.NumInputUnits = 4;  // a new set, which the memory is not made for yet
  f.pages.NotifyNetworkChanged();
  QCOMPARE(page->map()->GridRows(), 0);
  QCOMPARE(page->responses()->rowCount(), 0);
  QVERIFY(
      f.Get<QLabel>(PageId::ViewWeights, u"CellLabel"_s)->text().contains(u"not been set up"_s));
}

// The menu's three saves: the weights and responses files as corvel-duvu-batch writes them,
// and the picture; a name of another kind is refused, as on the chart page.
void EvaluationPagesTest::weights_savedFiles() {
  Fixture f;
  ViewWeights* page = OpenWeights(f);
  for (const QString& name : {u"w"_s, u"r.csv"_s, u"map.svg"_s, u"w.txt"_s})
    f.platform.files().QueueAnswer(f.Path(name));
  page->SaveWeightsAs();
  page->SaveResponsesAs();
  page->SavePictureAs();
  page->SaveWeightsAs();
  QCOMPARE(f.Read(u"w.csv"_s).toStdString(),
           Collected([&f](const ByteSink& sink) { return WriteWeightsCsv(f.state, sink); }));
  QCOMPARE(f.Read(u"r.csv"_s).toStdString(),
           Collected([&f](const ByteSink& sink) { return WriteResponsesCsv(f.state, sink); }));
  QVERIFY(QSvgRenderer(f.Read(u"map.svg"_s)).isValid());
  QCOMPARE(f.messages().size(), 1);
  QVERIFY(f.messages()[0].text.contains(u"must end in .csv"_s));
  // The menu opens from the responses table's keys too.
  auto* table = f.Get<QWidget>(PageId::ViewWeights, u"ResponsesTable"_s);
  page->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(page));
  table->setFocus();
  QStringList items;
  QTimer::singleShot(0, [&items] {
    if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
      for (QAction* item : menu->actions()) items << item->text();
      menu->close();
    }
  });
  QTest::keyClick(table, Qt::Key_F10, Qt::ShiftModifier);
  QCOMPARE(items,
           QStringList({u"Save Weights As…"_s, u"Save Responses As…"_s, u"Save Picture As…"_s}));
}

QTEST_MAIN(EvaluationPagesTest)
#include "evaluation_pages_test.moc"
