#pragma once
// The program's number, date and time formats, defined once and used by the report, the
// progress display and the probe page.
//
// Every rounding is to the last digit shown, halves away from zero, decided on the exact
// binary value of the double: 0.125 is exact and gives .13, while 0.145 is really
// 0.14499999999999999 and gives .14. Digits are always ASCII; the separators come from the
// regional settings. A value that is not finite is written "NaN", "Inf" or "-Inf" ("+Inf" in
// the signed format), so a formatter never fails.

#include <string>

namespace corvel {

// The user's regional settings, passed in as a plain value. The default is English (United
// States), which is also what the C/POSIX locale means.
struct RegionalSettings {
  std::string DecimalSeparator = ".";
  std::string ThousandsSeparator = ",";
  // Patterns use d, dd, M, MM, yy, yyyy for dates and h, hh, H, HH, m, mm, s, ss for times;
  // h and hh count 1..12 when the pattern holds an AM/PM designator (AP or A for AMText or
  // PMText, ap or a for the same in lower case). Text in single quotes is copied without the
  // quotes ('' is one quote); any other character is copied as it stands.
  std::string ShortDatePattern = "M/d/yyyy";
  std::string LongTimePattern = "h:mm:ss AP";
  std::string AMText = "AM";
  std::string PMText = "PM";
};

struct LocalDateTime {
  int Year = 1970, Month = 1, Day = 1;
  int Hour = 0, Minute = 0, Second = 0;
};

// "+###.00;-###.00": 0 -> "+.00", 0.5 -> "+.50", 1 -> "+1.00", -12.3456 -> "-12.35",
// 1234.5 -> "+1234.50", 0.125 -> "+.13", -0.004 -> "-.00" (the sign comes from the value
// before rounding), -0.0 -> "+.00". No thousands separator; the integer part is written whole.
std::string FormatSigned2(double value, const RegionalSettings& rs);
// The same, appended to `out` (the report's hot path).
void AppendSigned2(std::string& out, double value, const RegionalSettings& rs);

// "###": the value rounded to a whole number: 7 -> "7", 12.5 -> "13", 0 -> "", -3 -> "-3".
std::string FormatWhole(double value);

// "Standard": 0 -> "0.00", 1500 -> "1,500.00", -2.5 -> "-2.50", 1234567.891 -> "1,234,567.89".
// Like the signed format, a negative value that rounds to zero keeps its sign: -0.004 -> "-0.00".
std::string FormatStandard(double value, const RegionalSettings& rs);

// "Scientific": 1234.5 -> "1.23E+03", 0.000345 -> "3.45E-04", 0 -> "0.00E+00",
// -0.5 -> "-5.00E-01", 1235 -> "1.24E+03", 9.995 -> "1.00E+01", 1e-300 -> "1.00E-300".
std::string FormatScientific(double value, const RegionalSettings& rs);

// General number text: the value rounded to 15 significant digits with trailing zeros
// dropped. Plain for 1E-04 <= |rounded value| < 1E+15, exponent form otherwise (mantissa,
// "E", sign, at least two digits):
//   0.1 -> "0.1", 0.05 -> "0.05", 2 -> "2", -2.5 -> "-2.5", 0 -> "0", 0.0001 -> "0.0001",
//   1/3 -> "0.333333333333333", 123456789012345 -> "123456789012345",
//   1.5e-05 -> "1.5E-05", 1e15 -> "1E+15", 999999999999999.9 -> "1E+15",
//   1.25e100 -> "1.25E+100".
std::string GeneralNumberText(double value, const RegionalSettings& rs);

// Integer text: 42 -> "42", -3 -> "-3", 0 -> "0".
std::string IntegerText(long long value);

// The date in the short date pattern, the time in the long time pattern:
// English (United States) gives "12/4/2026" and "2:20:35 AM".
std::string DateText(const LocalDateTime& when, const RegionalSettings& rs);
std::string TimeText(const LocalDateTime& when, const RegionalSettings& rs);

}  // namespace corvel
