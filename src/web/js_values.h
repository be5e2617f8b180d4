#pragma once
// Copies of the core's numbers and bytes as JavaScript typed arrays, which the page may keep
// after the module's memory has moved on.

#include <emscripten/val.h>

#include <string>
#include <vector>

namespace corvel::web {

inline emscripten::val Float64Copy(const std::vector<double>& values) {
  return emscripten::val::global("Float64Array")
      .new_(emscripten::typed_memory_view(values.size(), values.data()));
}

inline emscripten::val BytesCopy(const std::string& bytes) {
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  return emscripten::val::global("Uint8Array")
      .new_(emscripten::typed_memory_view(bytes.size(), data));
}

// A JavaScript array of the texts.
inline emscripten::val TextArray(const std::vector<std::string>& texts) {
  emscripten::val array = emscripten::val::array();
  for (const std::string& text : texts) array.call<void>("push", text);
  return array;
}

}  // namespace corvel::web
