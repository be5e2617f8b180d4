#pragma once
// Splits the text of a training file into fields, counting lines for messages.
//
// Spaces, tabs, carriage returns and line feeds separate values, as does a comma. A comma
// ends the field before it: after a value (with or without white space around the comma) it
// just ends that value, but a comma with no value since the previous comma (or since the
// start of the text) closes an empty field, which reads as 0, as comma-separated number
// files have always been read:
//   "1 2\t3"   -> 1, 2, 3        "1, 2,3,"  -> 1, 2, 3
//   "1,,3"     -> 1, (empty), 3  ",2"       -> (empty), 2
//   "1,\n,3"   -> 1, (empty), 3  "1,\r\n3"  -> 1, 3
// Any other character belongs to the value it touches, so "1;2" is one value (not a number).
// A byte-order mark at the very start (UTF-8 editors write one) is skipped.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace corvel::detail {

struct Field {
  enum class Kind { Value, Empty, End };
  Kind kind;
  std::string_view text;  // the value's characters (Value only)
  std::int64_t line;      // line of the value or comma; for End, the last line of the text
};

class ValueScanner {
 public:
  explicit ValueScanner(std::string_view text);

  Field Next();

  // Bytes not yet scanned: each field still to come needs at least one of them.
  std::size_t Remaining() const { return static_cast<std::size_t>(end_ - pos_); }

 private:
  std::int64_t EndLine() const;

  const char* pos_;
  const char* begin_;
  const char* end_;
  std::int64_t line_ = 1;
  bool valueSinceComma_ = false;
};

}  // namespace corvel::detail
