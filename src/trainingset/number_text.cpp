#include "trainingset/number_text.h"

#include <fast_float/fast_float.h>

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <optional>

namespace corvel::detail {
namespace {

// Exponents are held back here: far beyond any double, yet far from overflowing int64 when
// the position of the leading digit is added.
constexpr std::int64_t kExponentLimit = std::int64_t{1} << 50;

struct DecimalParts {
  bool negative = false;
  std::string_view intDigits;   // digits before the period
  std::string_view fracDigits;  // digits after it
  std::int64_t exponent = 0;    // held within +-kExponentLimit
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view TakeDigits(std::string_view& rest) {
  std::size_t n = 0;
  while (n < rest.size() && IsDigit(rest[n])) ++n;
  const std::string_view digits = rest.substr(0, n);
  rest.remove_prefix(n);
  return digits;
}

// Splits the whole text along the grammar [+-] digits [. digits] [(e|E) [+-] digits], with at
// least one digit before the exponent; nothing when any part of the text does not fit.
std::optional<DecimalParts> Split(std::string_view text) {
  DecimalParts parts;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    parts.negative = text[0] == '-';
    text.remove_prefix(1);
  }
  parts.intDigits = TakeDigits(text);
  if (!text.empty() && text[0] == '.') {
    text.remove_prefix(1);
    parts.fracDigits = TakeDigits(text);
  }
  if (parts.intDigits.empty() && parts.fracDigits.empty()) return std::nullopt;
  if (!text.empty() && (text[0] == 'e' || text[0] == 'E')) {
    text.remove_prefix(1);
    bool negativeExponent = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
      negativeExponent = text[0] == '-';
      text.remove_prefix(1);
    }
    const std::string_view digits = TakeDigits(text);
    if (digits.empty()) return std::nullopt;
    for (const char c : digits) {
      parts.exponent = std::min(parts.exponent * 10 + (c - '0'), kExponentLimit);
    }
    if (negativeExponent) parts.exponent = -parts.exponent;
  }
  if (!text.empty()) return std::nullopt;
  return parts;
}

// Most values have a few digits and a small exponent, like "-0.25" or "1.5e-3". When the
// digits form an integer w below 2^53 and the value is w * 10^e with |e| <= 22, both w and
// 10^e are exact doubles, so one multiplication or division gives the correctly rounded
// result, the same that the full parse below gives, at a fraction of its cost.
std::optional<double> ExactFastPath(const DecimalParts& parts) {
  static constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                            1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                            1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  constexpr std::uint64_t kExactLimit = std::uint64_t{1} << 53;
  std::uint64_t w = 0;
  for (const std::string_view digits : {parts.intDigits, parts.fracDigits}) {
    for (const char c : digits) {
      w = w * 10 + static_cast<std::uint64_t>(c - '0');
      if (w >= kExactLimit) return std::nullopt;
    }
  }
  const std::int64_t e = parts.exponent - static_cast<std::int64_t>(parts.fracDigits.size());
  if (e < -22 || e > 22) return std::nullopt;
  const double magnitude =
      e < 0 ? static_cast<double>(w) / kPowersOfTen[-e] : static_cast<double>(w) * kPowersOfTen[e];
  return parts.negative ? -magnitude : magnitude;
}

}  // namespace

ParsedDouble ParseDouble(std::string_view text) {
  const auto parts = Split(text);
  if (!parts) return {ParsedDouble::Status::NotANumber};
  if (const auto exact = ExactFastPath(*parts)) return {ParsedDouble::Status::Ok, *exact};
  // fast_float reads the same grammar, correctly rounded, except that it refuses a leading
  // plus. Too large a value comes back infinite, too small a one as zero of its sign.
  if (text[0] == '+') text.remove_prefix(1);
  double value = 0.0;
  const auto [end, error] = fast_float::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size()) {
    return {ParsedDouble::Status::NotANumber};
  }
  if (std::isinf(value)) return {ParsedDouble::Status::TooLarge};
  return {ParsedDouble::Status::Ok, value};
}

ParsedWhole ParseWhole(std::string_view text) {
  const auto parts = Split(text);
  if (!parts) return {ParsedWhole::Status::NotANumber};

  // The digits without the period, with the decimal point moved by the exponent: the value is
  // whole when every digit at or after the point is zero.
  const auto digitAt = [&](std::int64_t k) {
    const auto intCount = static_cast<std::int64_t>(parts->intDigits.size());
    return k < intCount ? parts->intDigits[k] : parts->fracDigits[k - intCount];
  };
  const auto count = static_cast<std::int64_t>(parts->intDigits.size() + parts->fracDigits.size());
  const std::int64_t point = static_cast<std::int64_t>(parts->intDigits.size()) + parts->exponent;

  for (std::int64_t k = std::max<std::int64_t>(point, 0); k < count; ++k) {
    if (digitAt(k) != '0') return {ParsedWhole::Status::NotWhole};
  }
  std::int64_t value = 0;
  for (std::int64_t k = 0; k < point && value < kWholeLimit; ++k) {
    if (k >= count && value == 0) break;  // zeros appended to zero stay zero
    const int digit = k < count ? digitAt(k) - '0' : 0;
    value = std::min(value * 10 + digit, kWholeLimit);
  }
  return {ParsedWhole::Status::Ok, parts->negative ? -value : value};
}

}  // namespace corvel::detail
