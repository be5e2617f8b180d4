#include "pages/chart/chart_accessible.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>
#include <QWindow>

#include "pages/chart/sse_chart.h"

namespace corvel {
namespace {

constexpr int kColumns = 2;  // the sweep, then the SSE
constexpr int kHeaderRow = -1;

// Where a cell stands among the table's children: the headers first, then row by row.
int ChildIndex(int row, int column) { return (row + 1) * kColumns + column; }

// One cell of the table, or with row kHeaderRow one column header. A cell has no object of
// its own: it reads the chart, and is invalid once the chart is gone.
class ChartCellAccessible final : public QAccessibleInterface,
                                  public QAccessibleTableCellInterface {
 public:
  ChartCellAccessible(SSEChart* chart, int row, int column)
      : chart_(chart), row_(row), column_(column) {}

  bool isValid() const override { return chart_ && row_ < chart_->RowCount(); }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return chart_ ? chart_->window()->windowHandle() : nullptr; }
  QAccessibleInterface* parent() const override {
    return QAccessible::queryAccessibleInterface(chart_);
  }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }

  QString text(QAccessible::Text t) const override {
    if (!isValid() || t != QAccessible::Name) return {};
    if (row_ == kHeaderRow) return column_ == 0 ? chart_->XTitle() : chart_->YTitle();
    return column_ == 0 ? chart_->SweepText(row_) : chart_->SSEText(row_);
  }
  void setText(QAccessible::Text, const QString&) override {}

  // A row's cells cover its bar; the headers cover the plot area.
  QRect rect() const override {
    if (!isValid()) return {};
    const QRect inView =
        chart_
            ->mapFromScene(row_ == kHeaderRow ? chart_->chart()->plotArea() : chart_->BarRect(row_))
            .boundingRect();
    return QRect(chart_->viewport()->mapToGlobal(inView.topLeft()), inView.size());
  }

  QAccessible::Role role() const override {
    return row_ == kHeaderRow ? QAccessible::ColumnHeader : QAccessible::Cell;
  }
  QAccessible::State state() const override {
    QAccessible::State s;
    if (!isValid()) {
      s.invalid = true;
      return s;
    }
    s.invisible = !chart_->isVisible();
    if (row_ != kHeaderRow) {
      s.focusable = s.selectable = true;
      s.selected = isSelected();
      s.focused = s.selected && column_ == chart_->CurrentColumn() && chart_->hasFocus();
    }
    return s;
  }

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TableCellInterface && row_ != kHeaderRow)
      return static_cast<QAccessibleTableCellInterface*>(this);
    return nullptr;
  }

  bool isSelected() const override { return isValid() && row_ == chart_->CurrentRow(); }
  // The headers are the table's first children.
  QList<QAccessibleInterface*> columnHeaderCells() const override {
    QAccessibleInterface* header = row_ == kHeaderRow ? nullptr : parent();
    return header ? QList<QAccessibleInterface*>{header->child(column_)}
                  : QList<QAccessibleInterface*>{};
  }
  QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
  int columnIndex() const override { return column_; }
  int rowIndex() const override { return row_; }
  int columnExtent() const override { return 1; }
  int rowExtent() const override { return 1; }
  QAccessibleInterface* table() const override { return parent(); }

 private:
  QPointer<SSEChart> chart_;
  int row_;
  int column_;
};

// The chart as a table. Its cells are made when first asked for and kept, registered with
// QAccessible so that assistive technology can refer to them, until the table goes with its
// chart.
class ChartTableAccessible final : public QAccessibleWidget, public QAccessibleTableInterface {
 public:
  explicit ChartTableAccessible(SSEChart* chart) : QAccessibleWidget(chart, QAccessible::Table) {}
  ~ChartTableAccessible() override {
    for (QAccessible::Id id : std::as_const(cells_)) QAccessible::deleteAccessibleInterface(id);
  }

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
  }

  QString text(QAccessible::Text t) const override {
    const QString own = QAccessibleWidget::text(t);
    return t == QAccessible::Name && own.isEmpty() ? chart()->Title() : own;
  }

  int childCount() const override { return (rowCount() + 1) * kColumns; }
  QAccessibleInterface* child(int index) const override {
    if (index < 0 || index >= childCount()) return nullptr;
    return Cell(index / kColumns - 1, index % kColumns);
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    const auto* cell = dynamic_cast<const ChartCellAccessible*>(child);
    return cell && cell->table() == this ? ChildIndex(cell->rowIndex(), cell->columnIndex()) : -1;
  }
  QAccessibleInterface* focusChild() const override {
    return chart()->hasFocus() ? cellAt(chart()->CurrentRow(), chart()->CurrentColumn()) : nullptr;
  }

  // QAccessibleTableInterface. The selection is the current row; choosing a row makes it
  // current.
  QAccessibleInterface* caption() const override { return nullptr; }
  QAccessibleInterface* summary() const override { return nullptr; }
  QAccessibleInterface* cellAt(int row, int column) const override {
    const bool inside = row >= 0 && row < rowCount() && column >= 0 && column < kColumns;
    return inside ? Cell(row, column) : nullptr;
  }
  int selectedCellCount() const override { return selectedCells().size(); }
  QList<QAccessibleInterface*> selectedCells() const override {
    if (rowCount() == 0) return {};
    return {cellAt(chart()->CurrentRow(), 0), cellAt(chart()->CurrentRow(), 1)};
  }
  QString columnDescription(int column) const override {
    if (column < 0 || column >= kColumns) return {};
    return Cell(kHeaderRow, column)->text(QAccessible::Name);
  }
  QString rowDescription(int) const override { return {}; }
  int selectedColumnCount() const override { return 0; }
  int selectedRowCount() const override { return selectedRows().size(); }
  int columnCount() const override { return kColumns; }
  int rowCount() const override { return chart()->RowCount(); }
  QList<int> selectedColumns() const override { return {}; }
  QList<int> selectedRows() const override {
    return rowCount() == 0 ? QList<int>{} : QList<int>{chart()->CurrentRow()};
  }
  bool isColumnSelected(int) const override { return false; }
  bool isRowSelected(int row) const override {
    return rowCount() > 0 && row == chart()->CurrentRow();
  }
  bool selectRow(int row) override {
    if (row < 0 || row >= rowCount()) return false;
    chart()->SetCurrentRow(row);
    return true;
  }
  bool selectColumn(int) override { return false; }
  bool unselectRow(int) override { return false; }
  bool unselectColumn(int) override { return false; }
  // The rows are fixed once the chart is built, so there is no change to follow.
  void modelChange(QAccessibleTableModelChangeEvent*) override {}

 private:
  SSEChart* chart() const { return static_cast<SSEChart*>(widget()); }

  QAccessibleInterface* Cell(int row, int column) const {
    const int key = ChildIndex(row, column);
    if (QAccessibleInterface* made = QAccessible::accessibleInterface(cells_.value(key)))
      return made;
    auto* cell = new ChartCellAccessible(chart(), row, column);
    cells_.insert(key, QAccessible::registerAccessibleInterface(cell));
    return cell;
  }

  // Cell ids by their index among the children.
  mutable QHash<int, QAccessible::Id> cells_;
};

}  // namespace

QAccessibleInterface* SSEChartAccessibleFactory(const QString& className, QObject* object) {
  if (className == QLatin1String("corvel::SSEChart") && object && object->isWidgetType())
    return new ChartTableAccessible(static_cast<SSEChart*>(object));
  return nullptr;
}

void AnnounceCurrentCell(SSEChart& chart) {
  if (!QAccessible::isActive() || !chart.hasFocus()) return;
  QAccessibleInterface* table = QAccessible::queryAccessibleInterface(&chart);
  QAccessibleTableInterface* rows = table ? table->tableInterface() : nullptr;
  if (QAccessibleInterface* cell =
          rows ? rows->cellAt(chart.CurrentRow(), chart.CurrentColumn()) : nullptr) {
    QAccessibleEvent focus(cell, QAccessible::Focus);
    QAccessible::updateAccessibility(&focus);
  }
}

}  // namespace corvel
