#pragma once
// An up-down control bound to a text box: its arrows (and the Up and Down keys in the box)
// step the whole number in the box between a minimum and a maximum. The value follows the
// box whenever its text changes (typed, or written by the page): a number in the box,
// rounded to whole and clamped to the range, becomes the value; text that is no number
// leaves the last value. The text itself is left exactly as it is until an arrow is pressed;
// the arrow then steps from the value and writes the result into the box.
//
// A screen reader finds the box as a spin button with the up-down's range (accessibility.cpp);
// the arrows are left to the mouse.

#include <QLineEdit>
#include <QPointer>
#include <QWidget>

class QToolButton;

namespace corvel {

class UpDown final : public QWidget {
  Q_OBJECT
 public:
  explicit UpDown(QWidget* parent = nullptr);
  ~UpDown() override;

  // Binds the box; the Up and Down keys typed in it step too. The arrows take no focus,
  // so the tab order holds only the box.
  void setBuddy(QLineEdit* box);
  QLineEdit* buddy() const { return buddy_; }

  void setRange(int minimum, int maximum);
  int minimum() const { return minimum_; }
  int maximum() const { return maximum_; }
  void setSingleStep(int step) { step_ = step; }
  int singleStep() const { return step_; }

  int value() const { return value_; }
  // Sets the value, clamped to the range, and writes it into the box.
  void setValue(int value);
  // The number the box shows, unclamped, or the value when it shows none: what a screen
  // reader reads as the current value.
  double shownValue() const { return shown_; }
  // The up-down bound to `box`, or nullptr.
  static UpDown* BoundTo(const QLineEdit* box);

  // What an arrow does: `steps` steps up (negative: down) from the value.
  void StepBy(int steps);

 signals:
  void valueChanged(int value);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // Takes the box's number, or the value when it holds none, as the number shown.
  void FollowBox();
  // Makes `shown` the number shown and, rounded and clamped, the value; tells valueChanged's
  // receivers when the value changed.
  void TakeShownNumber(double shown);
  QPointer<QLineEdit> buddy_;  // the box may go first when the page closes
  QToolButton* up_;
  QToolButton* down_;
  int minimum_ = 0;
  int maximum_ = 100;
  int step_ = 1;
  int value_ = 0;
  double shown_ = 0.0;
};

}  // namespace corvel
