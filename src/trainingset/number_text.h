#pragma once
// Reading one value of a training file from its text. A value is a decimal number: an
// optional sign, digits with an optional period and further digits, and an optional
// exponent. The period is the decimal point whatever the locale.
//   "2" -> 2   "+2" -> 2   "-0.25" -> -0.25   ".5" -> 0.5   "5." -> 5   "1.5E-3" -> 0.0015
//   "1e-400" -> 0 (too small for a double)   "1e999" -> too large
//   "nan", "inf", "0x10", "1,5", "1e", "--1", "" -> not a number

#include <cstdint>
#include <string_view>

namespace corvel::detail {

struct ParsedDouble {
  enum class Status { Ok, NotANumber, TooLarge };
  Status status;
  double value = 0.0;
};

// A pattern value as a 64-bit double, correctly rounded. Values too small for a double read
// as zero of their sign.
ParsedDouble ParseDouble(std::string_view text);

struct ParsedWhole {
  enum class Status { Ok, NotANumber, NotWhole };
  Status status;
  // The exact value, held back at +-kWholeLimit when larger, so any value beyond the 32-bit
  // range is still seen as beyond it.
  std::int64_t value = 0;
};

constexpr std::int64_t kWholeLimit = std::int64_t{1} << 40;

// A header value: any decimal number whose value is a whole number, so the "4.0" or
// "4.000000000000000000e+00" that numeric tools write reads as 4. A fraction that is not
// zero ("4.5", "4.0000001") is NotWhole. The check is made on the digits, not on a double.
ParsedWhole ParseWhole(std::string_view text);

}  // namespace corvel::detail
