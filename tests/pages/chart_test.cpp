// The SSE chart page: its bars and labels against the history, when it is built, printing
// by way of the clipboard, the picture and data files, and the table screen readers read.
#include <QAccessible>
#include <QBarSet>
#include <QPushButton>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>

#include "learning/engine.h"
#include "learning/training_parameters.h"
#include "overlap_set.h"
#include "pages/chart/plot_sse_data.h"
#include "pages/chart/sse_chart.h"
#include "pages/page_factories.h"
#include "platform/platform.h"

using namespace corvel;
using namespace Qt::StringLiterals;

namespace {

struct Fixture {
  QTemporaryDir dir;
  PublicStuff state;
  ScriptedPlatform platform;
  PageRegistry pages{state, platform, RegionalSettings{}};

  // A new run of `sweeps` sweeps with the Delta rule, recording every `every`-th.
  explicit Fixture(int sweeps = 100, int every = 10) {
    LoadOverlapSet(state);
    state.AllocateNetwork();
    state.LearningRule = "Delta";
    state.NewRun = 1;
    ParameterBoxes boxes{true, false, std::to_string(sweeps), "0.05", std::to_string(every), ""};
    TrainingObserver quiet;
    if (!ReadTrainingParameters(state, boxes).Accepted || RunTraining(state, quiet))
      qFatal("the training run did not go through");
    RegisterAllPages(pages);
    pages.Open(PageId::TestDAM);  // the hub the chart is opened from
  }
  PlotSSEdata* Chart() { return static_cast<PlotSSEdata*>(pages.Open(PageId::PlotSSEdata)); }
  QString Path(const QString& name) { return dir.filePath(name); }
};

}  // namespace

class ChartTest final : public QObject {
  Q_OBJECT
 private slots:
  void oneBarPerHistoryRow();
  void fullHistoryDrawsEveryBarWithoutEdges();
  void builtOnLoadOnly();
  void printingGoesByWayOfTheClipboard();
  void savedFiles_data();
  void savedFiles();
  void readByScreenReaders();
};

void ChartTest::oneBarPerHistoryRow() {
  Fixture f;
  SSEChart* chart = f.Chart()->chart();
  QCOMPARE(chart->Bars()->count(), 11);
  QStringList sweeps;
  for (int row = 0; row < 11; ++row) {
    sweeps << QString::number(10 * row);
    QCOMPARE(chart->Bars()->at(row), f.state.SSEHistory[row + 1][2]);
    QCOMPARE(chart->SSEText(row),
             QString::fromStdString(GeneralNumberText(f.state.SSEHistory[row + 1][2], {})));
  }
  QCOMPARE(chart->AxisLabels(), sweeps);  // few enough to label every bar
  QCOMPARE(chart->Bars()->pen().style(), Qt::SolidLine);
}

void ChartTest::fullHistoryDrawsEveryBarWithoutEdges() {
  Fixture f(2500, 1);  // the history keeps its first 2000 rows
  SSEChart* chart = f.Chart()->chart();
  QCOMPARE(chart->Bars()->count(), 2000);
  QCOMPARE(chart->SweepText(1999), u"1999"_s);
  QCOMPARE(chart->Bars()->pen().style(), Qt::NoPen);
  const QStringList labels = chart->AxisLabels();
  QVERIFY2(labels.size() >= 5 && labels.size() <= 15, qPrintable(labels.join(u' ')));
  QCOMPARE(labels.first(), u"0"_s);
}

void ChartTest::builtOnLoadOnly() {
  Fixture f;
  f.Chart();
  f.state.SSEHistoryCount = 3;
  QCOMPARE(f.Chart()->chart()->RowCount(), 11);  // shown again: the chart of its load
  f.pages.Find(PageId::PlotSSEdata)->findChild<QPushButton*>(u"CloseThisForm"_s)->click();
  QCOMPARE(f.Chart()->chart()->RowCount(), 3);  // opened again: the history of now
}

void ChartTest::printingGoesByWayOfTheClipboard() {
  Fixture f;
  PlotSSEdata* page = f.Chart();
  page->findChild<QPushButton*>(u"PrintThisGraph"_s)->click();
  const QImage picture = f.platform.clip().Picture();
  QCOMPARE(picture.size(), page->chart()->size());
  const auto& printed = f.platform.printouts().printed();
  QCOMPARE(printed.size(), 1);
  const auto& items = printed[0].items();
  QCOMPARE(items.size(), 2);
  QCOMPARE(items[0].text, u" "_s);
  QCOMPARE(items[1].kind, PrintDocument::Item::Kind::Picture);
  QCOMPARE(items[1].at, QPointF(0, 0));
  QCOMPARE(items[1].picture, picture);
}

void ChartTest::savedFiles_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("fault");  // empty: the file is written
  QTest::newRow("data") << u"sse.csv"_s << QString();
  QTest::newRow("PNG picture") << u"chart.PNG"_s << QString();
  QTest::newRow("SVG picture") << u"chart.svg"_s << QString();
  QTest::newRow("other picture kind") << u"chart.jpg"_s << u".png or .svg"_s;
  QTest::newRow("folder is a file") << u"plain/chart.png"_s << u"Not a directory"_s;
}

void ChartTest::savedFiles() {
  QFETCH(QString, name);
  QFETCH(QString, fault);
  Fixture f;
  QFile plain(f.Path(u"plain"_s));
  QVERIFY(plain.open(QIODevice::WriteOnly));
  plain.close();
  PlotSSEdata* page = f.Chart();
  const QString path = f.Path(name);
  f.platform.files().QueueAnswer(path);
  if (name.endsWith(u".csv"_s))
    page->SaveDataAs();
  else
    page->SavePictureAs();
  const auto& messages = f.platform.messages().calls();
  QCOMPARE(messages.size(), fault.isEmpty() ? 0 : 1);
  if (!fault.isEmpty()) {
    QVERIFY(messages[0].text.contains(path) && messages[0].text.contains(fault));
    QVERIFY(!QFile::exists(path));
    return;
  }
  QFile file(path);
  QVERIFY(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  if (name.endsWith(u".csv"_s))
    QCOMPARE(bytes.toStdString(), SSEHistoryCsv(SSEHistoryPoints(f.state)));
  else if (name.endsWith(u".svg"_s))
    QVERIFY(QSvgRenderer(bytes).isValid());
  else
    QCOMPARE(QImage::fromData(bytes, "PNG").size(), page->chart()->size());
}

// A screen reader finds a table of sweeps and SSEs whose current row the keyboard walks,
// with cells that go with the chart.
void ChartTest::readByScreenReaders() {
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
  QCOMPARE(rows->columnDescription(0), u"Sweeps Of Training"_s);
  QCOMPARE(rows->columnDescription(1), u"Network SSE"_s);
  QAccessibleInterface* cell = rows->cellAt(1, 1);
  QCOMPARE(cell->text(QAccessible::Name), u"2.5"_s);
  QCOMPARE(cell->tableCellInterface()->columnHeaderCells().value(0)->text(QAccessible::Name),
           u"Network SSE"_s);
  QCOMPARE(table->child(table->indexOfChild(cell)), cell);
  QVERIFY(table->rect().contains(cell->rect()));

  // The keyboard moves the current row, which is the focused cell's and the selected row.
  chart->setFocus();
  const std::pair<Qt::Key, int> walk[] = {{Qt::Key_Down, 1},     {Qt::Key_End, 2},
                                          {Qt::Key_Down, 2},     {Qt::Key_Home, 0},
                                          {Qt::Key_PageDown, 2}, {Qt::Key_Up, 1}};
  for (auto [key, row] : walk) {
    QTest::keyClick(chart, key);
    QCOMPARE(rows->selectedRows(), QList<int>{row});
    QCOMPARE(table->focusChild(), rows->cellAt(row, 0));
  }

  // The cells go with the chart.
  const QAccessible::Id id = QAccessible::uniqueId(cell);
  delete chart;
  QVERIFY(QAccessible::accessibleInterface(id) == nullptr);
}

QTEST_MAIN(ChartTest)
#include "chart_test.moc"
