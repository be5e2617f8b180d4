#pragma once
// An up-down control bound to a text box: its arrows (and the Up and Down keys in the box)
// step the whole number in the box between a minimum and a maximum. Typed text is left
// exactly as the user typed it until an arrow is pressed; the arrow then steps from the
// box's number (or from the control's last value when the box holds no number).

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace corvel {

class UpDown final : public QWidget {
  Q_OBJECT
 public:
  explicit UpDown(QWidget* parent = nullptr);

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

  // What an arrow does: `steps` steps up (negative: down) from the box's number.
  void StepBy(int steps);

 signals:
  void valueChanged(int value);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  QLineEdit* buddy_ = nullptr;
  QToolButton* up_;
  QToolButton* down_;
  int minimum_ = 0;
  int maximum_ = 100;
  int step_ = 1;
  int value_ = 0;
};

}  // namespace corvel
