// The date and time texts of formats.h: a small interpreter of the regional date and time
// patterns.

#include <cctype>
#include <string_view>

#include "report/formats.h"

namespace corvel {
namespace {

void AppendNumber(std::string& out, int value, std::size_t minDigits) {
  const std::string digits = IntegerText(value);
  if (digits.size() < minDigits) out.append(minDigits - digits.size(), '0');
  out += digits;
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

bool HasDesignator(std::string_view pattern) {
  bool quoted = false;
  for (char c : pattern) {
    if (c == '\'') quoted = !quoted;
    if (!quoted && (c == 'A' || c == 'a')) return true;
  }
  return false;
}

std::string FormatPattern(std::string_view pattern, const LocalDateTime& when,
                          const RegionalSettings& rs) {
  const bool twelveHour = HasDesignator(pattern);
  const bool pm = when.Hour >= 12;
  const std::string& designator = pm ? rs.PMText : rs.AMText;
  std::string out;
  std::size_t i = 0;
  while (i < pattern.size()) {
    const char c = pattern[i];
    if (c == '\'') {  // quoted text, in which '' stands for one quote; '' alone is one too
      ++i;
      if (i < pattern.size() && pattern[i] == '\'') {
        out += '\'';
        ++i;
        continue;
      }
      while (i < pattern.size()) {
        if (pattern[i] == '\'') {
          if (i + 1 < pattern.size() && pattern[i + 1] == '\'') {
            out += '\'';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        out += pattern[i++];
      }
      continue;
    }
    std::size_t run = 1;
    while (i + run < pattern.size() && pattern[i + run] == c) ++run;
    const std::size_t width = run >= 2 ? 2 : 1;
    switch (c) {
      case 'd':
        AppendNumber(out, when.Day, width);
        break;
      case 'M':
        AppendNumber(out, when.Month, width);
        break;
      case 'y':
        if (run == 2) {
          AppendNumber(out, when.Year % 100, 2);
        } else {
          AppendNumber(out, when.Year, run >= 4 ? 4 : 1);
        }
        break;
      case 'H':
        AppendNumber(out, when.Hour, width);
        break;
      case 'h': {
        const int hour = twelveHour ? (when.Hour % 12 == 0 ? 12 : when.Hour % 12) : when.Hour;
        AppendNumber(out, hour, width);
        break;
      }
      case 'm':
        AppendNumber(out, when.Minute, width);
        break;
      case 's':
        AppendNumber(out, when.Second, width);
        break;
      case 'A':
      case 'a':
        run = (i + 1 < pattern.size() && pattern[i + 1] == (c == 'A' ? 'P' : 'p')) ? 2 : 1;
        out += c == 'A' ? designator : Lower(designator);
        break;
      default:
        out.append(run, c);
        break;
    }
    i += run;
  }
  return out;
}

}  // namespace

std::string DateText(const LocalDateTime& when, const RegionalSettings& rs) {
  return FormatPattern(rs.ShortDatePattern, when, rs);
}

std::string TimeText(const LocalDateTime& when, const RegionalSettings& rs) {
  return FormatPattern(rs.LongTimePattern, when, rs);
}

}  // namespace corvel
