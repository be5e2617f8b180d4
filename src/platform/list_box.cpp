#include "platform/list_box.h"

#include <QKeyEvent>

namespace corvel {

ListBox::ListBox(const QStringList& items, QWidget* parent) : QListWidget(parent) {
  addItems(items);
  setSelectionMode(SingleSelection);
  setCurrentRow(-1);  // nothing selected until the user chooses
}

int ListBox::ListIndex() const {
  const QModelIndexList selected = selectedIndexes();
  return selected.isEmpty() ? -1 : selected.first().row();
}

void ListBox::mouseDoubleClickEvent(QMouseEvent* event) {
  QListWidget::mouseDoubleClickEvent(event);
  emit DblClick();
}

void ListBox::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    emit DblClick();
    return;
  }
  QListWidget::keyPressEvent(event);
}

void ListBox::focusInEvent(QFocusEvent* event) {
  QListWidget::focusInEvent(event);
  // The view makes the first item current on taking the focus, without selecting it, so the
  // first Down would skip it unheard. With no current item, Down selects the first item and
  // a screen reader announces it.
  if (ListIndex() < 0) selectionModel()->clearCurrentIndex();
}

}  // namespace corvel
