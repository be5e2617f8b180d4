#pragma once
// What a screen reader finds of a widget that draws a grid of values (the SSE chart's bars,
// the weights map): a table with a header for each column (and, where the widget gives them,
// for each row) and a cell per value, reading the text the widget gives it. The widget's
// current cell is the table's focused cell while the widget has the focus, and the selection
// is that cell, or its whole row where the widget treats rows as its items. A screen reader
// speaks a cell's header when the focus moves into another column or row.
//
// Cells have no objects of their own and are made only when asked for, so a grid of a
// billion cells costs nothing until a reader looks at some of them.

#include <QRect>
#include <QString>

class QAccessibleInterface;
class QWidget;

namespace corvel {

class AccessibleGrid {
 public:
  virtual ~AccessibleGrid() = default;

  virtual int GridRows() const = 0;
  virtual int GridColumns() const = 0;
  virtual QString GridCellText(int row, int column) const = 0;
  virtual QString GridColumnHeader(int column) const = 0;
  // Empty when the rows have no headers.
  virtual QString GridRowHeader(int /*row*/) const { return {}; }
  virtual int GridCurrentRow() const = 0;
  virtual int GridCurrentColumn() const = 0;
  // Makes (row, column), which exists, the current cell.
  virtual void GridSetCurrent(int row, int column) = 0;
  // True when a row is one item: selecting a cell selects its row.
  virtual bool GridSelectsRows() const { return false; }
  // Where a cell stands in the widget's own coordinates (a header row or column: -1).
  virtual QRect GridCellRect(int row, int column) const = 0;
};

// The table for `widget`, which must also be its AccessibleGrid; for a QAccessible factory.
// Its name is the widget's accessible name, else `fallbackName`.
QAccessibleInterface* MakeGridAccessible(QWidget* widget, AccessibleGrid* grid,
                                         const QString& fallbackName = {});

// Tells assistive technology that the grid's current cell has the focus, so that a screen
// reader reads it. Does nothing while the widget lacks the focus.
void AnnounceCurrentCell(QWidget* widget);

}  // namespace corvel
