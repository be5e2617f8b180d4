#include "trainingset/load_messages.h"

namespace corvel::detail {
namespace {

// Longest stretch of a bad value quoted in a message; a run of garbage can be megabytes.
constexpr std::size_t kMaxQuoted = 32;

std::string Counted(std::int64_t n, std::string_view singular, std::string_view plural) {
  return std::to_string(n) + ' ' + std::string(n == 1 ? singular : plural);
}

}  // namespace

std::string ValuePosition::Describe() const {
  switch (slot) {
    case Slot::NumOutputUnits:
      return "number of output units (first header value)";
    case Slot::Unused:
      return "second header value (a whole number the program does not use)";
    case Slot::NumInputUnits:
      return "number of input units (third header value)";
    case Slot::NumPatterns:
      return "number of patterns (fourth header value)";
    case Slot::Input:
      return "input " + std::to_string(unit) + " of pattern " + std::to_string(pattern);
    case Slot::Output:
      return "desired output " + std::to_string(unit) + " of pattern " + std::to_string(pattern);
  }
  return {};
}

std::int64_t SetShape::Values() const { return (std::int64_t{inputs} + outputs) * patterns; }

std::uint64_t SetShape::Bytes() const {
  const auto rows = static_cast<std::uint64_t>(patterns) + 1;
  const auto cells = (static_cast<std::uint64_t>(inputs) + 1) * rows +
                     (static_cast<std::uint64_t>(outputs) + 1) * rows;
  return cells * sizeof(double);
}

std::string SetShape::Describe() const {
  return Counted(patterns, "pattern", "patterns") + " of " + Counted(inputs, "input", "inputs") +
         " and " + Counted(outputs, "desired output", "desired outputs");
}

std::string Where(std::string_view fileLabel, std::int64_t line) {
  return std::string(fileLabel) + ", line " + std::to_string(line) + ": ";
}

std::string Quote(std::string_view text) {
  const bool cut = text.size() > kMaxQuoted;
  if (cut) {
    // Do not end inside a UTF-8 sequence: drop trailing continuation bytes and their lead.
    text = text.substr(0, kMaxQuoted);
    while (!text.empty() && (static_cast<unsigned char>(text.back()) & 0xC0) == 0x80) {
      text.remove_suffix(1);
    }
    if (!text.empty() && (static_cast<unsigned char>(text.back()) & 0xC0) == 0xC0) {
      text.remove_suffix(1);
    }
  }
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string quoted = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) {
      quoted += "\\x";
      quoted += kHex[byte >> 4];
      quoted += kHex[byte & 0xF];
    } else {
      quoted += c;
    }
  }
  quoted += cut ? "...\"" : "\"";
  return quoted;
}

std::string FoundMessage(std::string_view fileLabel, const Field& field,
                         const ValuePosition& position, std::string_view problem) {
  std::string message = Where(fileLabel, field.line) + "expected " + position.Describe();
  if (field.kind == Field::Kind::End) return message + ", found end of file";
  return message + ", found " + Quote(field.text) + std::string(problem);
}

}  // namespace corvel::detail
