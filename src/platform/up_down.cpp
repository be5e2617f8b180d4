#include "platform/up_down.h"

#include <QAccessible>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <algorithm>
#include <cmath>

namespace corvel {
namespace {

// The box's link back to its up-down.
constexpr char kBoundProperty[] = "corvel_upDown";

}  // namespace

UpDown::UpDown(QWidget* parent)
    : QWidget(parent), up_(new QToolButton(this)), down_(new QToolButton(this)) {
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

UpDown::~UpDown() { setBuddy(nullptr); }

void UpDown::setBuddy(QLineEdit* box) {
  if (buddy_) {
    buddy_->removeEventFilter(this);
    buddy_->disconnect(this);
    buddy_->setProperty(kBoundProperty, QVariant());
  }
  buddy_ = box;
  if (buddy_) {
    buddy_->installEventFilter(this);
    buddy_->setProperty(kBoundProperty, QVariant::fromValue<QObject*>(this));
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
  shown_ = shown;
  const int value = static_cast<int>(std::clamp<double>(std::nearbyint(shown), minimum_, maximum_));
  if (value == value_) return;
  value_ = value;
  emit valueChanged(value);
}

void UpDown::StepBy(int steps) {
  const long long next = static_cast<long long>(value_) + static_cast<long long>(steps) * step_;
  setValue(static_cast<int>(std::clamp<long long>(next, minimum_, maximum_)));
  if (!buddy_) return;
  // As in a spin box, the stepped number is selected, so typing replaces it; a screen reader
  // reads the box as a spin button and speaks its new value (accessibility.cpp).
  if (buddy_->hasFocus()) buddy_->selectAll();
  QAccessibleValueChangeEvent changed(buddy_, value_);
  QAccessible::updateAccessibility(&changed);
}

UpDown* UpDown::BoundTo(const QLineEdit* box) {
  return qobject_cast<UpDown*>(box->property(kBoundProperty).value<QObject*>());
}

bool UpDown::eventFilter(QObject* watched, QEvent* event) {
  // The event's type first: while the box is being destroyed it is no longer a QLineEdit,
  // and comparing it with buddy_ would cast it to one.
  if (event->type() == QEvent::KeyPress && watched == buddy_ && isEnabled()) {
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
