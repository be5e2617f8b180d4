#include "platform/list_box.h"

#include <QKeyEvent>
#include <QTimer>

#include "platform/accessibility.h"

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
  if (!ChooseFirstOnDown(*this, *event)) QListWidget::keyPressEvent(event);
}

void ListBox::focusInEvent(QFocusEvent* event) {
  QListWidget::focusInEvent(event);
  AnnounceChosen(*this);
}

bool ChooseFirstOnDown(QListWidget& list, const QKeyEvent& event) {
  if (event.key() != Qt::Key_Down || event.modifiers() != Qt::NoModifier ||
      !list.selectedItems().isEmpty() || list.count() == 0)
    return false;
  list.setCurrentRow(0);
  AnnounceRow(&list, 0);
  return true;
}

void AnnounceChosen(QListWidget& list) {
  if (list.selectedItems().isEmpty()) return;
  QTimer::singleShot(0, &list, [&list] { AnnounceRow(&list, list.currentRow()); });
}

}  // namespace corvel
