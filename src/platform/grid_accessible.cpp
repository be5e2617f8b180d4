#include "platform/grid_accessible.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace corvel {
namespace {

constexpr int kHeader = -1;  // the row of column headers, or the column of row headers

// One cell of the table: a value, or with row kHeader a column header, or with column kHeader
// a row header. It reads the widget, and is invalid once the widget is gone.
class GridCellAccessible final : public QAccessibleInterface,
                                 public QAccessibleTableCellInterface {
 public:
  GridCellAccessible(QWidget* widget, AccessibleGrid* grid, int row, int column)
      : widget_(widget), grid_(grid), row_(row), column_(column) {}

  bool isValid() const override {
    return widget_ && row_ < grid_->GridRows() && column_ < grid_->GridColumns();
  }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return widget_ ? widget_->window()->windowHandle() : nullptr; }
  QAccessibleInterface* parent() const override {
    return QAccessible::queryAccessibleInterface(widget_);
  }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }

  QString text(QAccessible::Text t) const override {
    if (!isValid() || t != QAccessible::Name) return {};
    if (row_ == kHeader) return grid_->GridColumnHeader(column_);
    if (column_ == kHeader) return grid_->GridRowHeader(row_);
    return grid_->GridCellText(row_, column_);
  }
  void setText(QAccessible::Text, const QString&) override {}

  QRect rect() const override {
    if (!isValid()) return {};
    const QRect inWidget = grid_->GridCellRect(row_, column_);
    return QRect(widget_->mapToGlobal(inWidget.topLeft()), inWidget.size());
  }

  QAccessible::Role role() const override {
    if (row_ == kHeader) return QAccessible::ColumnHeader;
    return column_ == kHeader ? QAccessible::RowHeader : QAccessible::Cell;
  }
  bool IsValue() const { return row_ != kHeader && column_ != kHeader; }
  QAccessible::State state() const override {
    QAccessible::State s;
    if (!isValid()) {
      s.invalid = true;
      return s;
    }
    s.invisible = !widget_->isVisible();
    if (IsValue()) {
      s.focusable = s.selectable = true;
      s.selected = isSelected();
      s.focused = row_ == grid_->GridCurrentRow() && column_ == grid_->GridCurrentColumn() &&
                  widget_->hasFocus();
    }
    return s;
  }

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TableCellInterface && IsValue())
      return static_cast<QAccessibleTableCellInterface*>(this);
    return nullptr;
  }

  bool isSelected() const override {
    return isValid() && IsValue() && row_ == grid_->GridCurrentRow() &&
           (grid_->GridSelectsRows() || column_ == grid_->GridCurrentColumn());
  }
  QList<QAccessibleInterface*> columnHeaderCells() const override { return Headers(kHeader, column_); }
  QList<QAccessibleInterface*> rowHeaderCells() const override {
    return grid_->GridRowHeader(row_).isEmpty() ? QList<QAccessibleInterface*>{}
                                                : Headers(row_, kHeader);
  }
  int columnIndex() const override { return column_; }
  int rowIndex() const override { return row_; }
  int columnExtent() const override { return 1; }
  int rowExtent() const override { return 1; }
  QAccessibleInterface* table() const override { return parent(); }

 private:
  QList<QAccessibleInterface*> Headers(int row, int column) const;

  QPointer<QWidget> widget_;
  AccessibleGrid* grid_;
  int row_;
  int column_;
};

// The widget as a table. Its cells are made when first asked for and kept, registered with
// QAccessible so that assistive technology can refer to them, until the table goes with its
// widget. Children: the column headers, the cells row by row, then the row headers.
class GridTableAccessible final : public QAccessibleWidget, public QAccessibleTableInterface {
 public:
  GridTableAccessible(QWidget* widget, AccessibleGrid* grid, const QString& fallbackName)
      : QAccessibleWidget(widget, QAccessible::Table), grid_(grid), fallbackName_(fallbackName) {}
  ~GridTableAccessible() override {
    for (QAccessible::Id id : std::as_const(cells_)) QAccessible::deleteAccessibleInterface(id);
  }

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
  }

  QString text(QAccessible::Text t) const override {
    const QString own = QAccessibleWidget::text(t);
    return t == QAccessible::Name && own.isEmpty() ? fallbackName_ : own;
  }

  int childCount() const override {
    return (rowCount() + 1) * columnCount() + (HasRowHeaders() ? rowCount() : 0);
  }
  QAccessibleInterface* child(int index) const override {
    if (index < 0 || index >= childCount()) return nullptr;
    const int grid = (rowCount() + 1) * columnCount();
    if (index >= grid) return Cell(index - grid, kHeader);
    return Cell(index / columnCount() - 1, index % columnCount());
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    const auto* cell = dynamic_cast<const GridCellAccessible*>(child);
    return cell && cell->table() == this ? Index(cell->rowIndex(), cell->columnIndex()) : -1;
  }
  QAccessibleInterface* focusChild() const override {
    return widget()->hasFocus() ? cellAt(grid_->GridCurrentRow(), grid_->GridCurrentColumn())
                                : nullptr;
  }

  // QAccessibleTableInterface. The selection is the current cell, or its row; choosing a row
  // or a cell makes it current.
  QAccessibleInterface* caption() const override { return nullptr; }
  QAccessibleInterface* summary() const override { return nullptr; }
  QAccessibleInterface* cellAt(int row, int column) const override {
    const bool inside = row >= 0 && row < rowCount() && column >= 0 && column < columnCount();
    return inside ? Cell(row, column) : nullptr;
  }
  int selectedCellCount() const override { return selectedCells().size(); }
  QList<QAccessibleInterface*> selectedCells() const override {
    if (rowCount() == 0 || columnCount() == 0) return {};
    const int row = grid_->GridCurrentRow();
    if (!grid_->GridSelectsRows()) return {cellAt(row, grid_->GridCurrentColumn())};
    QList<QAccessibleInterface*> cells;
    for (int column = 0; column < columnCount(); ++column) cells.append(cellAt(row, column));
    return cells;
  }
  QString columnDescription(int column) const override {
    return column >= 0 && column < columnCount() ? grid_->GridColumnHeader(column) : QString();
  }
  QString rowDescription(int row) const override {
    return row >= 0 && row < rowCount() ? grid_->GridRowHeader(row) : QString();
  }
  int selectedColumnCount() const override { return 0; }
  int selectedRowCount() const override { return selectedRows().size(); }
  int columnCount() const override { return grid_->GridColumns(); }
  int rowCount() const override { return grid_->GridRows(); }
  QList<int> selectedColumns() const override { return {}; }
  QList<int> selectedRows() const override {
    return grid_->GridSelectsRows() && rowCount() > 0 ? QList<int>{grid_->GridCurrentRow()}
                                                       : QList<int>{};
  }
  bool isColumnSelected(int) const override { return false; }
  bool isRowSelected(int row) const override {
    return grid_->GridSelectsRows() && rowCount() > 0 && row == grid_->GridCurrentRow();
  }
  bool selectRow(int row) override {
    if (!grid_->GridSelectsRows() || row < 0 || row >= rowCount()) return false;
    grid_->GridSetCurrent(row, grid_->GridCurrentColumn());
    return true;
  }
  bool selectColumn(int) override { return false; }
  bool unselectRow(int) override { return false; }
  bool unselectColumn(int) override { return false; }
  // The widget rebuilds its grid rather than changing it, so there is no change to follow.
  void modelChange(QAccessibleTableModelChangeEvent*) override {}

 private:
  bool HasRowHeaders() const { return rowCount() > 0 && !grid_->GridRowHeader(0).isEmpty(); }
  int Index(int row, int column) const {
    if (column == kHeader) return (rowCount() + 1) * columnCount() + row;
    return (row + 1) * columnCount() + column;
  }
  QAccessibleInterface* Cell(int row, int column) const {
    const int key = Index(row, column);
    if (QAccessibleInterface* made = QAccessible::accessibleInterface(cells_.value(key)))
      return made;
    auto* cell = new GridCellAccessible(widget(), grid_, row, column);
    cells_.insert(key, QAccessible::registerAccessibleInterface(cell));
    return cell;
  }

  AccessibleGrid* grid_;
  QString fallbackName_;
  // Cell ids by their index among the children.
  mutable QHash<int, QAccessible::Id> cells_;
};

// A header is the table's child: the table keeps it.
QList<QAccessibleInterface*> GridCellAccessible::Headers(int row, int column) const {
  QAccessibleInterface* table = row_ == kHeader || column_ == kHeader ? nullptr : parent();
  auto* grid = table ? dynamic_cast<GridTableAccessible*>(table) : nullptr;
  if (!grid) return {};
  const int index = column == kHeader ? (grid_->GridRows() + 1) * grid_->GridColumns() + row
                                      : column;
  return {grid->child(index)};
}

}  // namespace

QAccessibleInterface* MakeGridAccessible(QWidget* widget, AccessibleGrid* grid,
                                         const QString& fallbackName) {
  return new GridTableAccessible(widget, grid, fallbackName);
}

void AnnounceCurrentCell(QWidget* widget) {
  if (!QAccessible::isActive() || !widget->hasFocus()) return;
  QAccessibleInterface* table = QAccessible::queryAccessibleInterface(widget);
  QAccessibleTableInterface* cells = table ? table->tableInterface() : nullptr;
  auto* grid = dynamic_cast<AccessibleGrid*>(widget);
  if (!cells || !grid) return;
  if (QAccessibleInterface* cell = cells->cellAt(grid->GridCurrentRow(), grid->GridCurrentColumn())) {
    QAccessibleEvent focus(cell, QAccessible::Focus);
    QAccessible::updateAccessibility(&focus);
  }
}

}  // namespace corvel
