#pragma once
// The weights map's colour key: the colour ramp from the deepest blue through white to the
// deepest red, with the weights they stand for beneath it. A screen reader reads it as
// "Colour key: deepest blue -1.50, white 0, deepest red +1.50".

#include <QWidget>

#include "report/formats.h"

namespace corvel {

class WeightKey final : public QWidget {
  Q_OBJECT
 public:
  explicit WeightKey(QWidget* parent = nullptr);

  // The largest magnitude the deepest colours stand for; 0 shows no numbers.
  void SetScale(double scale, const RegionalSettings& rs);
  // "1.50", "2.00E+13": the scale as the key writes it.
  const QString& ScaleText() const { return scaleText_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  double scale_ = 0;
  QString scaleText_;
};

}  // namespace corvel
