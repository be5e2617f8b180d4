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

}  // namespace corvel
