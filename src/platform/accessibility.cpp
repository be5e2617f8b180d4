#include "platform/accessibility.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPointer>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTimer>
#include <utility>

#include "platform/announcer.h"
#include "platform/group_body.h"
#include "platform/scaled_slider.h"
#include "platform/up_down.h"

namespace corvel {
namespace {

// Every text box. Qt's own interface for a line edit cannot be built upon (it is private), so
// this one is complete. Besides reporting its attributes as one run over the whole text, it
// reads a box bound to an up-down as a spin button whose value is the box's number.
class LineEditAccessible final : public QAccessibleWidget,
                                 public QAccessibleTextInterface,
                                 public QAccessibleEditableTextInterface,
                                 public QAccessibleValueInterface {
 public:
  explicit LineEditAccessible(QLineEdit* edit)
      : QAccessibleWidget(edit, QAccessible::EditableText) {}

  void* interface_cast(QAccessible::InterfaceType type) override {
    switch (type) {
      case QAccessible::TextInterface:
        return static_cast<QAccessibleTextInterface*>(this);
      case QAccessible::EditableTextInterface:
        return edit()->isReadOnly() ? nullptr
                                    : static_cast<QAccessibleEditableTextInterface*>(this);
      case QAccessible::ValueInterface:
        return upDown() ? static_cast<QAccessibleValueInterface*>(this) : nullptr;
      default:
        return QAccessibleWidget::interface_cast(type);
    }
  }

  QAccessible::Role role() const override {
    return upDown() ? QAccessible::SpinBox : QAccessible::EditableText;
  }

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Value) return shown();
    QString s = QAccessibleWidget::text(t);  // the accessible name, else the buddy label's text
    if (t == QAccessible::Description && s.isEmpty()) s = edit()->placeholderText();
    return s;
  }
  void setText(QAccessible::Text t, const QString& text) override {
    if (t == QAccessible::Value && !edit()->isReadOnly())
      edit()->setText(text);
    else
      QAccessibleWidget::setText(t, text);
  }

  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    s.readOnly = edit()->isReadOnly();
    s.editable = !s.readOnly;
    s.passwordEdit = edit()->echoMode() != QLineEdit::Normal;
    s.selectableText = true;
    return s;
  }

  // --- text ---
  // Orca builds its runs of language from the attribute runs and speaks the text up to where
  // the last run ends; one run over all of the text keeps the last character.
  QString attributes(int, int* start, int* end) const override {
    *start = 0;
    *end = characterCount();
    return {};
  }
  QString text(int start, int end) const override { return shown().mid(start, end - start); }
  int characterCount() const override { return int(shown().size()); }
  int cursorPosition() const override { return edit()->cursorPosition(); }
  void setCursorPosition(int position) override { edit()->setCursorPosition(position); }
  int selectionCount() const override { return edit()->hasSelectedText() ? 1 : 0; }
  void selection(int index, int* start, int* end) const override {
    *start = *end = 0;
    if (index != 0 || !edit()->hasSelectedText()) return;
    *start = edit()->selectionStart();
    *end = *start + edit()->selectionLength();
  }
  void addSelection(int start, int end) override { setSelection(0, start, end); }
  void removeSelection(int) override { edit()->deselect(); }
  void setSelection(int, int start, int end) override { edit()->setSelection(start, end - start); }
  int offsetAtPoint(const QPoint& point) const override {
    return edit()->cursorPositionAt(edit()->mapFromGlobal(point));
  }
  void scrollToSubstring(int, int end) override { edit()->setCursorPosition(end); }
  QRect characterRect(int offset) const override;

  // --- editable text ---
  void deleteText(int start, int end) override { replaceText(start, end, QString()); }
  void insertText(int offset, const QString& text) override { replaceText(offset, offset, text); }
  void replaceText(int start, int end, const QString& text) override {
    edit()->setText(edit()->text().replace(start, end - start, text));
  }

  // --- value, for a box bound to an up-down ---
  QVariant currentValue() const override { return upDown() ? upDown()->shownValue() : QVariant(); }
  void setCurrentValue(const QVariant& value) override {
    if (UpDown* u = upDown()) u->setValue(value.toInt());
  }
  QVariant maximumValue() const override { return upDown() ? upDown()->maximum() : QVariant(); }
  QVariant minimumValue() const override { return upDown() ? upDown()->minimum() : QVariant(); }
  QVariant minimumStepSize() const override {
    return upDown() ? upDown()->singleStep() : QVariant();
  }

 private:
  QLineEdit* edit() const { return static_cast<QLineEdit*>(widget()); }
  UpDown* upDown() const { return UpDown::BoundTo(edit()); }
  // What the box shows: its text, or the masking characters of a password.
  QString shown() const {
    return edit()->echoMode() == QLineEdit::Normal ? edit()->text() : edit()->displayText();
  }
};

// Where a character is drawn, in screen coordinates. Qt keeps the exact place private; this
// lays the shown text out in the box's contents as the line edit does when the whole text
// fits, which the program's boxes do.
QRect LineEditAccessible::characterRect(int offset) const {
  const QLineEdit* e = edit();
  const QString text = e->displayText();
  if (offset < 0 || offset >= text.size()) return {};
  QStyleOptionFrame frame;
  frame.initFrom(e);
  frame.rect = e->rect();
  frame.lineWidth =
      e->hasFrame() ? e->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &frame, e) : 0;
  QRect contents = e->style()->subElementRect(QStyle::SE_LineEditContents, &frame, e);
  contents = contents.marginsRemoved(e->textMargins()).adjusted(2, 1, -2, -1);  // Qt's own margins
  const QFontMetrics metrics = e->fontMetrics();
  const int width = metrics.horizontalAdvance(text);
  int left = contents.left();
  const Qt::Alignment horizontal = QStyle::visualAlignment(e->layoutDirection(), e->alignment());
  if (horizontal & Qt::AlignHCenter)
    left += (contents.width() - width) / 2;
  else if (horizontal & Qt::AlignRight)
    left = contents.right() - width;
  const int top = contents.top() + (contents.height() - metrics.height()) / 2;
  const QRect box(left + metrics.horizontalAdvance(text.left(offset)), top,
                  metrics.horizontalAdvance(text.at(offset)), metrics.height());
  return QRect(e->mapToGlobal(box.topLeft()), box.size());
}

// A scaled slider's value is the number it stands for. Orca writes a slider's value with as
// many decimals as its smallest step has, so a step of 0.01 reads "0.10", "0.11".
class ScaledSliderAccessible final : public QAccessibleWidget, public QAccessibleValueInterface {
 public:
  explicit ScaledSliderAccessible(ScaledSlider* slider)
      : QAccessibleWidget(slider, QAccessible::Slider) {}

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
  }
  QString text(QAccessible::Text t) const override {
    if (t != QAccessible::Value) return QAccessibleWidget::text(t);
    return QString::number(currentValue().toDouble(), 'f', slider()->decimals());
  }
  QVariant currentValue() const override { return slider()->Number(slider()->value()); }
  void setCurrentValue(const QVariant& value) override {
    slider()->setValue(qRound(value.toDouble() / slider()->Number(1)));
  }
  QVariant maximumValue() const override { return slider()->Number(slider()->maximum()); }
  QVariant minimumValue() const override { return slider()->Number(slider()->minimum()); }
  QVariant minimumStepSize() const override { return slider()->Number(slider()->singleStep()); }

 private:
  ScaledSlider* slider() const { return static_cast<ScaledSlider*>(widget()); }
};

// Without a name of its own, a plain panel would take the title of the group box it sits on.
class GroupBodyAccessible final : public QAccessibleWidget {
 public:
  explicit GroupBodyAccessible(GroupBody* body) : QAccessibleWidget(body) {}
  QString text(QAccessible::Text t) const override {
    return t == QAccessible::Name ? QString() : QAccessibleWidget::text(t);
  }
};

// `className` is each class of the object's hierarchy in turn, the most derived first.
QAccessibleInterface* Factory(const QString& className, QObject* object) {
  if (!object || !object->isWidgetType()) return nullptr;
  if (className == QLatin1String("QLineEdit"))
    return new LineEditAccessible(static_cast<QLineEdit*>(object));
  if (className == QLatin1String("corvel::ScaledSlider"))
    return new ScaledSliderAccessible(static_cast<ScaledSlider*>(object));
  if (className == QLatin1String("corvel::GroupBody"))
    return new GroupBodyAccessible(static_cast<GroupBody*>(object));
  if (className == QLatin1String("corvel::Announcer"))
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Notification);
  return nullptr;
}

// Screen readers keep the states they read, and when a control appears Qt tells them only that
// it is "showing", never "visible". A control that Orca looked at while it was hidden (the
// set-up page's progress boxes, emptied when a start is asked for) thus stayed out of Orca's
// flat review once shown. Orca reads an object's states anew when its selection state changes,
// so a control that appears on a page already shown tells of its (unchanged) selection state
// once the page has drawn it. A page being opened needs none of this: all of it is new.
class ShownControlsWatcher final : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Show || !watched->isWidgetType() || !QAccessible::isActive())
      return false;
    auto* shown = static_cast<QWidget*>(watched);
    // A window's own Show comes after its controls': theirs came with it.
    if (shown->isWindow()) {
      pending_.removeIf([shown](const QPointer<QWidget>& w) { return !w || w->window() == shown; });
      return false;
    }
    if (!shown->window()->isVisible() || pending_.contains(shown)) return false;
    if (pending_.isEmpty()) QTimer::singleShot(0, this, &ShownControlsWatcher::Tell);
    pending_.append(shown);
    return false;
  }

 private:
  void Tell() {
    for (const QPointer<QWidget>& shown : std::exchange(pending_, {})) {
      if (!shown || !shown->isVisible() || shown->hasFocus()) continue;
      QAccessibleEvent selection(shown, QAccessible::Selection);
      QAccessible::updateAccessibility(&selection);
    }
  }
  QList<QPointer<QWidget>> pending_;
};

// Moving the focus into a text box selects its text, and moving it out clears the selection.
// Qt tells screen readers of both changes before it tells of the focus itself, so Orca said
// every box twice on entry ("100 | selected | ... text. | 100 selected.") and "Text
// unselected." on leaving it. What the focus news says of the box includes its selection, so
// the selection news of a box gaining or losing the focus is kept back; any other goes out.
class FocusSelectionQuieter final : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if ((event->type() != QEvent::FocusIn && event->type() != QEvent::FocusOut) || quieted_ ||
        !qobject_cast<QLineEdit*>(watched) || !QAccessible::isActive())
      return false;
    // A box keeps its selection when a popup or another window takes the focus.
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason) return false;
    // Delivered here, so that the box's news passes through Pass() while it handles the event.
    quieted_ = watched;
    previous_ = QAccessible::installUpdateHandler(&Pass);
    static_cast<QObject*>(watched)->event(event);
    QAccessible::installUpdateHandler(previous_);
    quieted_ = nullptr;
    return true;
  }

 private:
  static void Pass(QAccessibleEvent* event) {
    if (event->type() == QAccessible::TextSelectionChanged && event->object() == quieted_) return;
    if (previous_) return previous_(event);
    QAccessible::installUpdateHandler(nullptr);  // Qt's own way to the screen reader
    QAccessible::updateAccessibility(event);
    QAccessible::installUpdateHandler(&Pass);
  }
  static inline QObject* quieted_ = nullptr;
  static inline QAccessible::UpdateHandler previous_ = nullptr;
};

}  // namespace

void InstallAccessibility() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  QAccessible::installFactory(&Factory);
  qApp->installEventFilter(new ShownControlsWatcher(qApp));
  qApp->installEventFilter(new FocusSelectionQuieter(qApp));
}

void AnnounceRow(QAbstractItemView* view, int row) {
  if (!view->hasFocus() || row < 0 || !QAccessible::isActive()) return;
  QAccessibleInterface* items = QAccessible::queryAccessibleInterface(view);
  if (!items || !items->tableInterface()) return;
  if (QAccessibleInterface* cell = items->tableInterface()->cellAt(row, 0)) {
    QAccessibleEvent focus(cell, QAccessible::Focus);
    QAccessible::updateAccessibility(&focus);
  }
}

}  // namespace corvel
