#include "report/probe_text.h"

#include <charconv>

#include "learning/engine.h"

namespace corvel {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

// A row label followed by one signed value and a TAB per unit, 1..count.
template <class Value>
void Row(std::string& out, std::string_view label, int count, Value value,
         const RegionalSettings& rs) {
  out += label;
  for (int unit = 1; unit <= count; ++unit) {
    AppendSigned2(out, value(unit), rs);
    out += '\t';
  }
  out += kLineEnd;
}

}  // namespace

std::string ProbeBlock(PublicStuff& s, int p, std::string_view patternText,
                       const RegionalSettings& rs) {
  ComputeResponse(s, p);
  std::string out = "Pattern: ";
  out += patternText;
  out += '\t';
  Row(
      out, "", s.NumInputUnits, [&](int i) { return s.InputPatterns(i, p); }, rs);
  out += "---------------";
  out += kLineEnd;
  Row(
      out, "Response (A):\t", s.NumOutputUnits, [&](int j) { return s.OutputUnits[j].Activation; },
      rs);
  Row(
      out, "Desired  (D):\t", s.NumOutputUnits, [&](int j) { return s.DesiredOutputs(j, p); }, rs);
  Row(
      out, "Error  (D-A):\t", s.NumOutputUnits, [&](int j) { return s.OutputUnits[j].Error; }, rs);
  out += "=============================================";
  out += kLineEnd;
  return out;
}

std::optional<int> PatternNumber(std::string_view text, int numPatterns) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return std::nullopt;
  text = text.substr(first, text.find_last_not_of(' ') - first + 1);
  int number = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  // from_chars takes a minus sign; a pattern number is digits alone.
  if (error != std::errc() || end != text.data() + text.size() || text.front() == '-')
    return std::nullopt;
  if (number < 1 || number > numPatterns) return std::nullopt;
  return number;
}

}  // namespace corvel
