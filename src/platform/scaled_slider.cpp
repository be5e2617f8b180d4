#include "platform/scaled_slider.h"

#include <cmath>

namespace corvel {

ScaledSlider::ScaledSlider(int decimals, QWidget* parent)
    : QSlider(Qt::Horizontal, parent), decimals_(decimals) {}

double ScaledSlider::Number(int position) const { return position / std::pow(10.0, decimals_); }

}  // namespace corvel
