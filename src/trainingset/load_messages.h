#pragma once
// The wording of the loader's messages: which value was expected, what was found, and where.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "trainingset/value_scanner.h"

namespace corvel::detail {

// Which value of the file is being read.
struct ValuePosition {
  enum class Slot { NumOutputUnits, Unused, NumInputUnits, NumPatterns, Input, Output };
  Slot slot;
  std::int32_t unit = 0;     // Input and Output only
  std::int32_t pattern = 0;  // Input and Output only

  bool IsCount() const {
    return slot == Slot::NumOutputUnits || slot == Slot::NumInputUnits || slot == Slot::NumPatterns;
  }
  // "number of input units (third header value)", "input 3 of pattern 2",
  // "desired output 1 of pattern 4", ...
  std::string Describe() const;
};

// The sizes a header announces.
struct SetShape {
  std::int32_t inputs;
  std::int32_t outputs;
  std::int32_t patterns;

  // Number of pattern values that follow the header.
  std::int64_t Values() const;
  // Bytes of InputPatterns and DesiredOutputs, index 0 included.
  std::uint64_t Bytes() const;
  // "2 patterns of 4 inputs and 1 desired output"
  std::string Describe() const;
};

// "bad.net, line 3: "
std::string Where(std::string_view fileLabel, std::int64_t line);

// The text in double quotes, control characters written as \xNN, cut short when long.
std::string Quote(std::string_view text);

// "<file>, line <n>: expected <position>, found "<text>"<problem>", or for the end of the text
// "<file>, line <n>: expected <position>, found end of file".
std::string FoundMessage(std::string_view fileLabel, const Field& field,
                         const ValuePosition& position, std::string_view problem = {});

}  // namespace corvel::detail
