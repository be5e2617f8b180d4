#include "pages/setup/slider_mapping.h"

#include <cmath>
#include <cstdlib>

#include "learning/training_parameters.h"

namespace corvel {

int SliderValueForBox(const std::string& boxText, int current, int minimum, int maximum) {
  const std::optional<double> number = BoxNumber(boxText);
  if (!number) return current;
  const double scaled = std::nearbyint(*number * 100.0);
  if (scaled <= minimum) return minimum;
  if (scaled >= maximum) return maximum;
  return static_cast<int>(scaled);
}

std::string BoxTextForSlider(int value) {
  // Whole and hundredths parts in integers, so no binary fraction can leave a tail of digits.
  const int magnitude = std::abs(value);
  std::string text = (value < 0 ? "-" : "") + std::to_string(magnitude / 100);
  const int hundredths = magnitude % 100;
  if (hundredths == 0) return text;
  text += '.';
  text += static_cast<char>('0' + hundredths / 10);
  if (hundredths % 10 != 0) text += static_cast<char>('0' + hundredths % 10);
  return text;
}

}  // namespace corvel
