#pragma once
// How the set-up page's text boxes and their sliders stand for each other: a slider holds the
// box's number times 100 (learning rate 0.10 <-> 10, minimum SSE 0.05 <-> 5).

#include <string>

namespace corvel {

// Box to slider: the box's number x 100, rounded to the nearest integer (ties to even) and held
// within minimum..maximum. A box without a number keeps the slider at `current`.
//   "0.10" -> 10, "0.05" -> 5, "0.125" -> 12, "3" (range 0..200) -> 200, "abc" -> current.
int SliderValueForBox(const std::string& boxText, int current, int minimum, int maximum);

// Slider to box: value / 100 as a plain decimal without trailing zeros.
//   10 -> "0.1", 5 -> "0.05", 150 -> "1.5", 0 -> "0", 200 -> "2".
std::string BoxTextForSlider(int value);

}  // namespace corvel
