#pragma once
// A horizontal slider whose whole-number position stands for a decimal number: the position
// divided by 10^decimals (with 2 decimals, position 10 is the rate 0.10). Screen readers get
// the number, written with those decimals, as the slider's value.

#include <QSlider>

namespace corvel {

class ScaledSlider final : public QSlider {
  Q_OBJECT
 public:
  ScaledSlider(int decimals, QWidget* parent = nullptr);

  int decimals() const { return decimals_; }
  // The number a position stands for.
  double Number(int position) const;

 private:
  int decimals_;
};

}  // namespace corvel
