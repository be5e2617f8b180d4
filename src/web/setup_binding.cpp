// How the set-up page's boxes and sliders stand for each other, as the desktop page has it
// (pages/setup/slider_mapping.h).

#include <emscripten/bind.h>

#include "pages/setup/slider_mapping.h"

EMSCRIPTEN_BINDINGS(corvel_setup) {
  emscripten::function("sliderValueForBox", &corvel::SliderValueForBox);
  emscripten::function("boxTextForSlider", &corvel::BoxTextForSlider);
}
