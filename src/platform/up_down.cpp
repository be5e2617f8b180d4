#include "platform/up_down.h"

#include <QAccessibleWidget>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <algorithm>
#include <cmath>

namespace corvel {
namespace {

// What a screen reader sees of an up-down: a spin button with its value and range, which it
// can also set.
class UpDownAccessible final : public QAccessibleWidget, public QAccessibleValueInterface {
 public:
  explicit UpDownAccessible(UpDown* upDown) : QAccessibleWidget(upDown, QAccessible::SpinBox) {}

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
  }
  QVariant currentValue() const override { return upDown()->shownValue(); }
  void setCurrentValue(const QVariant& value) override { upDown()->setValue(value.toInt()); }
  QVariant maximumValue() const override { return upDown()->maximum(); }
  QVariant minimumValue() const override { return upDown()->minimum(); }
  QVariant minimumStepSize() const override { return upDown()->singleStep(); }

 private:
  UpDown* upDown() const { return static_cast<UpDown*>(widget()); }
};

QAccessibleInterface* UpDownAccessibleFactory(const QString& className, QObject* object) {
  if (className == QLatin1String("corvel::UpDown") && object && object->isWidgetType())
    return new UpDownAccessible(static_cast<UpDown*>(object));
  return nullptr;
}

}  // namespace

UpDown::UpDown(QWidget* parent)
    : QWidget(parent), up_(new QToolButton(this)), down_(new QToolButton(this)) {
  static const bool accessibleInstalled =
      (QAccessible::installFactory(&UpDownAccessibleFactory), true);
  Q_UNUSED(accessibleInstalled);
  up_->setArrowType(Qt::UpArrow);
  down_->setArrowType(Qt::DownArrow);
  up_->setAccessibleName(QStringLiteral("Increase"));
  down_->setAccessibleName(QStringLiteral("Decrease"));
  for (QToolButton* b : {up_, down_}) {
    b->setAutoRepeat(true);
    b->setFocusPolicy(Qt::NoFocus);
  }
  connect(up_, &QToolButton::clicked, this, [this] { StepBy(1); });
  connect(down_, &QToolButton::clicked, this, [this] { StepBy(-1); });
}

void UpDown::setBuddy(QLineEdit* box) {
  if (buddy_) {
    buddy_->removeEventFilter(this);
    buddy_->disconnect(this);
  }
  buddy_ = box;
  if (buddy_) {
    buddy_->installEventFilter(this);
    connect(buddy_, &QLineEdit::textChanged, this, &UpDown::FollowBox);
  }
  FollowBox();
}

void UpDown::setRange(int minimum, int maximum) {
  minimum_ = minimum;
  maximum_ = std::max(minimum, maximum);
  FollowBox();
}

void UpDown::setValue(int value) {
  const int v = std::clamp(value, minimum_, maximum_);
  if (buddy_) {
    buddy_->setText(QString::number(v));  // the box's change makes it the value
  } else {
    TakeShownNumber(v);
  }
}

void UpDown::FollowBox() {
  bool ok = false;
  const double number = buddy_ ? buddy_->text().trimmed().toDouble(&ok) : 0.0;
  TakeShownNumber(ok && std::isfinite(number) ? number : std::clamp(value_, minimum_, maximum_));
}

void UpDown::TakeShownNumber(double shown) {
  if (shown != shown_) {
    shown_ = shown;
    QAccessibleValueChangeEvent changed(this, shown);
    QAccessible::updateAccessibility(&changed);
  }
  const int value = static_cast<int>(std::clamp<double>(std::nearbyint(shown), minimum_, maximum_));
  if (value == value_) return;
  value_ = value;
  emit valueChanged(value);
}

void UpDown::StepBy(int steps) {
  const long long next = static_cast<long long>(value_) + static_cast<long long>(steps) * step_;
  setValue(static_cast<int>(std::clamp<long long>(next, minimum_, maximum_)));
}

bool UpDown::eventFilter(QObject* watched, QEvent* event) {
  if (watched == buddy_ && event->type() == QEvent::KeyPress && isEnabled()) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
      StepBy(key == Qt::Key_Up ? 1 : -1);
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void UpDown::resizeEvent(QResizeEvent*) {
  const int half = height() / 2;
  up_->setGeometry(0, 0, width(), half);
  down_->setGeometry(0, half, width(), height() - half);
}

}  // namespace corvel
