#include "report/sse_history.h"

#include <fmt/format.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>

namespace corvel {

// The shortest text that reads back to `value`, laid out as std::to_chars lays it out: plain
// or with an exponent, whichever is shorter, plain when both are as long:
//   2.5 -> "2.5", 1000 -> "1000", 1e10 -> "1e+10", 0.001 -> "0.001", 0.0001 -> "1e-04",
//   2^64 -> "18446744073709551616".
// {fmt} gives the shortest digits, exact on every target, in a layout of its own ("1e+16",
// "0.0001"); they are taken out of it and laid out again.
void AppendShortest(std::string& out, double value) {
  const std::string text = fmt::format("{}", value);
  if (!std::isfinite(value)) {
    out += text;
    return;
  }
  const bool negative = text.front() == '-';
  std::string_view rest(text);
  if (negative) rest.remove_prefix(1);
  // The digits without their point, and where the point goes: value = 0.digits x 10^point.
  int point = 0;
  if (const std::size_t e = rest.find('e'); e != std::string_view::npos) {
    const char* exponent = rest.data() + e + 1;
    if (*exponent == '+') ++exponent;
    std::from_chars(exponent, rest.data() + rest.size(), point);
    rest = rest.substr(0, e);
  }
  const std::size_t dot = std::min(rest.find('.'), rest.size());
  std::string digits(rest.substr(0, dot));
  if (dot < rest.size()) digits += rest.substr(dot + 1);
  point += static_cast<int>(dot);
  const std::size_t first = digits.find_first_not_of('0');
  if (first == std::string::npos) {  // zero of either sign
    out += negative ? "-0" : "0";
    return;
  }
  digits = digits.substr(first, digits.find_last_not_of('0') + 1 - first);
  point -= static_cast<int>(first);
  const int count = static_cast<int>(digits.size());

  std::string scientific = negative ? "-" : "";
  scientific += digits.front();
  if (count > 1) scientific += "." + digits.substr(1);
  const int exponent = point - 1;
  scientific += exponent < 0 ? "e-" : "e+";
  if (std::abs(exponent) < 10) scientific += '0';
  scientific += std::to_string(std::abs(exponent));

  std::string plain = negative ? "-" : "";
  if (point >= count) {
    // A whole number, written with all its digits as to_chars writes it (2^64 gives
    // 18446744073709551616, not 18446744073709552000): as long, and exact.
    plain = fmt::format("{:.0f}", value);
  } else if (point > 0) {  // 2.5
    plain += digits.substr(0, static_cast<std::size_t>(point)) + "." +
             digits.substr(static_cast<std::size_t>(point));
  } else {  // 0.001
    plain += "0.";
    plain.append(static_cast<std::size_t>(-point), '0');
    plain += digits;
  }
  out += plain.size() <= scientific.size() ? plain : scientific;
}

std::vector<SSEPoint> SSEHistoryPoints(const PublicStuff& s) {
  const int rows = std::clamp<int>(s.SSEHistoryCount, 0, kSSEHistoryRows);
  std::vector<SSEPoint> points;
  points.reserve(static_cast<std::size_t>(rows));
  for (int r = 1; r <= rows; ++r) points.push_back({s.SSEHistory[r][1], s.SSEHistory[r][2]});
  return points;
}

std::string SSEHistoryCsv(const std::vector<SSEPoint>& points) {
  std::string out = "Sweep,SSE\n";
  for (const SSEPoint& point : points) {
    AppendShortest(out, point.Sweep);
    out += ',';
    AppendShortest(out, point.SSE);
    out += '\n';
  }
  return out;
}

}  // namespace corvel
