#include "pages/page.h"

#include <QCloseEvent>
#include <QEvent>

#include "pages/page_registry.h"

namespace corvel {

Page::Page(PageRegistry& registry, PageId id, const QString& caption)
    : QWidget(nullptr), registry_(registry), id_(id) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(caption);
}

PublicStuff& Page::State() { return registry_.State(); }
Platform& Page::platform() { return registry_.platform(); }
const RegionalSettings& Page::regionalSettings() const { return registry_.regionalSettings(); }

bool Page::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate && registry_.NoteActivated(this)) Form_Activate();
  return QWidget::event(event);
}

void Page::closeEvent(QCloseEvent* event) {
  registry_.PageClosing(this);
  QWidget::closeEvent(event);
}

}  // namespace corvel
