#pragma once
// The program's number, date and time formats, defined once and used by the report, the
// progress display and the probe page.

#include <string>

namespace corvel {

// The user's regional settings, passed in as a plain value. The default is English (United
// States), which is also what the C/POSIX locale means.
struct RegionalSettings {
  std::string DecimalSeparator = ".";
  std::string ThousandsSeparator = ",";
  // Patterns use d, dd, M, MM, yy, yyyy for dates and h, hh, H, HH, m, mm, s, ss, AP for times;
  // any other character is copied as it stands.
  std::string ShortDatePattern = "M/d/yyyy";
  std::string LongTimePattern = "h:mm:ss AP";
};

struct LocalDateTime {
  int Year = 1970, Month = 1, Day = 1;
  int Hour = 0, Minute = 0, Second = 0;
};

// "+###.00;-###.00": 0 -> "+.00", 0.5 -> "+.50", -12.3456 -> "-12.35", 1234.5 -> "+1234.50",
// -0.004 -> "-.00" (the sign comes from the value before rounding).
std::string FormatSigned2(double value, const RegionalSettings& rs);
// "###": 7 -> "7", 0 -> "".
std::string FormatWhole(double value);
// "Standard": 1500 -> "1,500.00", -2.5 -> "-2.50".
std::string FormatStandard(double value, const RegionalSettings& rs);
// "Scientific": 1234.5 -> "1.23E+03", 0 -> "0.00E+00", -0.5 -> "-5.00E-01".
std::string FormatScientific(double value, const RegionalSettings& rs);
// General number text: shortest text to at most 15 significant digits: 0.1 -> "0.1", 2 -> "2",
// 1.5e-05 -> "1.5E-05".
std::string GeneralNumberText(double value, const RegionalSettings& rs);
// Integer text: 42 -> "42", -3 -> "-3".
std::string IntegerText(long long value);
std::string DateText(const LocalDateTime& when, const RegionalSettings& rs);
std::string TimeText(const LocalDateTime& when, const RegionalSettings& rs);

}  // namespace corvel
