#include "pages/setup/run_input_guard.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <utility>

namespace corvel {
namespace {

bool IsUserInput(QEvent::Type type) {
  switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
      return true;
    default:
      return false;
  }
}

}  // namespace

RunInputGuard::RunInputGuard(std::vector<QWidget*> allowed, std::function<void()> onEscape)
    : allowed_(allowed.begin(), allowed.end()), onEscape_(std::move(onEscape)) {
  QCoreApplication::instance()->installEventFilter(this);
}

RunInputGuard::~RunInputGuard() { QCoreApplication::instance()->removeEventFilter(this); }

bool RunInputGuard::IsAllowed(QObject* target) const {
  for (const QPointer<QWidget>& widget : allowed_) {
    if (widget && (target == widget || widget->isAncestorOf(static_cast<QWidget*>(target))))
      return true;
  }
  return false;
}

bool RunInputGuard::eventFilter(QObject* watched, QEvent* event) {
  // Input reaches a window first and is then passed to the widget under it; judge it there.
  if (!watched->isWidgetType() || !IsUserInput(event->type())) return false;
  if (event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
    onEscape_();
    return true;
  }
  // A click on an allowed button arrives at the button itself; its keyboard use (Space) too.
  return !IsAllowed(watched);
}

}  // namespace corvel
