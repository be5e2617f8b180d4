// The SSE chart as a screen reader finds it: a table of sweeps and SSEs whose current row
// the keyboard walks, with cells that go with the chart.
#include <QAccessible>
#include <QTest>

#include "pages/chart/sse_chart.h"

using namespace corvel;
using namespace Qt::StringLiterals;

class ChartAccessibleTest final : public QObject {
  Q_OBJECT
 private slots:
  void tableOfSweepsAndErrors();
};

void ChartAccessibleTest::tableOfSweepsAndErrors() {
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

QTEST_MAIN(ChartAccessibleTest)
#include "chart_accessible_test.moc"
