// The number formats of formats.h. Digits of doubles come from {fmt}, exact on every target
// (some C++ libraries have no std::to_chars for double); integers from std::to_chars.

#include <fmt/format.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <string_view>

#include "report/formats.h"

namespace corvel {
namespace {

// Integral doubles below this fit an unsigned 64-bit integer; larger ones are written by
// {fmt}, which gives their exact digits.
constexpr double kSmallWhole = 1e19;

// round(frac * 100) for 0 <= frac < 1, halves away from zero on the exact product. The
// multiplication rounds once, so only a product within a hair of a half is in doubt; for
// those the fused multiply-add gives the sign of the exact frac * 100 - (k + 0.5).
int RoundCents(double frac) {
  const double scaled = frac * 100.0;
  const double k = std::floor(scaled);
  const double rest = scaled - k;
  const bool up =
      std::abs(rest - 0.5) > 1e-9 ? rest > 0.5 : std::fma(frac, 100.0, -(k + 0.5)) >= 0.0;
  return static_cast<int>(k) + (up ? 1 : 0);
}

// |value| rounded to hundredths: an integral double and the two decimals.
struct Hundredths {
  double whole;
  int cents;
};

Hundredths ToHundredths(double magnitude) {
  double whole = std::floor(magnitude);
  int cents = RoundCents(magnitude - whole);  // the subtraction is exact
  if (cents == 100) {
    whole += 1.0;  // exact: a value with a fraction is below 2^52
    cents = 0;
  }
  return {whole, cents};
}

// The exact decimal digits of an integral double.
void AppendWholeDigits(std::string& out, double whole) {
  if (whole >= kSmallWhole) {
    fmt::format_to(std::back_inserter(out), "{:.0f}", whole);
    return;
  }
  char buffer[24];
  out.append(buffer,
             std::to_chars(buffer, buffer + sizeof buffer, static_cast<std::uint64_t>(whole)).ptr);
}

void AppendGrouped(std::string& out, double whole, const RegionalSettings& rs) {
  std::string digits;
  AppendWholeDigits(digits, whole);
  const std::size_t n = digits.size();
  for (std::size_t i = 0; i < n; ++i) {
    if (i > 0 && (n - i) % 3 == 0) out += rs.ThousandsSeparator;
    out += digits[i];
  }
}

void AppendTwoDigits(std::string& out, int value) {
  out += static_cast<char>('0' + value / 10);
  out += static_cast<char>('0' + value % 10);
}

bool AppendNonFinite(std::string& out, double value, bool plusSign) {
  if (std::isfinite(value)) return false;
  if (std::isnan(value)) {
    out += "NaN";
  } else {
    out += value < 0 ? "-Inf" : (plusSign ? "+Inf" : "Inf");
  }
  return true;
}

// A positive finite value rounded to `count` significant digits (count <= 15).
struct Significant {
  char digits[16];  // `count` ASCII digits, the first nonzero
  int exponent;     // value ~ d.ddd x 10^exponent
};

// Decides on the exact decimal expansion whether the digits after `count` round up.
bool ExactTailRoundsUp(double value, int count) {
  // 800 digits hold the exact expansion of any double.
  char exact[900];
  fmt::format_to_n(exact, sizeof exact, "{:.800e}", value);
  // exact = "d.ddd...e±x"; significant digit k (0-based, k >= 1) sits at index k + 1.
  return exact[count + 1] >= '5';
}

Significant RoundSignificant(double value, int count) {
  // 18 correctly rounded digits: "d.ddddddddddddddddde±xx".
  char text[40];
  const char* end = fmt::format_to_n(text, sizeof text, "{:.17e}", value).out;
  char digits[18];
  digits[0] = text[0];
  std::memcpy(digits + 1, text + 2, 17);
  int exponent = 0;
  const char* e = std::strchr(text, 'e');
  std::from_chars(e + (e[1] == '+' ? 2 : 1), end, exponent);

  // The shown tail is the exact tail rounded at the 18th digit, so it tells the direction
  // unless it reads exactly "5000...": then the exact value may lie on either side.
  const std::string_view tail(digits + count, 18 - count);
  bool up = tail[0] >= '5';
  if (tail[0] == '5' && tail.find_first_not_of('0', 1) == std::string_view::npos) {
    up = ExactTailRoundsUp(value, count);
  }

  Significant result{};
  std::memcpy(result.digits, digits, count);
  result.exponent = exponent;
  if (up) {
    int i = count - 1;
    while (i >= 0 && result.digits[i] == '9') result.digits[i--] = '0';
    if (i >= 0) {
      ++result.digits[i];
    } else {  // 9.99 -> 10.0: one digit more in front, the exponent grows
      result.digits[0] = '1';
      ++result.exponent;
    }
  }
  return result;
}

void AppendExponent(std::string& out, int exponent) {
  out += 'E';
  out += exponent < 0 ? '-' : '+';
  const int magnitude = std::abs(exponent);
  if (magnitude < 10) out += '0';
  char buffer[8];
  out.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, magnitude).ptr);
}

}  // namespace

void AppendSigned2(std::string& out, double value, const RegionalSettings& rs) {
  if (AppendNonFinite(out, value, true)) return;
  out += value < 0 ? '-' : '+';
  const Hundredths h = ToHundredths(std::abs(value));
  if (h.whole != 0.0) AppendWholeDigits(out, h.whole);
  out += rs.DecimalSeparator;
  AppendTwoDigits(out, h.cents);
}

std::string FormatSigned2(double value, const RegionalSettings& rs) {
  std::string out;
  AppendSigned2(out, value, rs);
  return out;
}

std::string FormatWhole(double value) {
  std::string out;
  if (AppendNonFinite(out, value, false)) return out;
  const double rounded = std::round(value);  // halves away from zero
  if (rounded == 0.0) return out;
  if (rounded < 0) out += '-';
  AppendWholeDigits(out, std::abs(rounded));
  return out;
}

std::string FormatStandard(double value, const RegionalSettings& rs) {
  std::string out;
  if (AppendNonFinite(out, value, false)) return out;
  if (value < 0) out += '-';
  const Hundredths h = ToHundredths(std::abs(value));
  AppendGrouped(out, h.whole, rs);
  out += rs.DecimalSeparator;
  AppendTwoDigits(out, h.cents);
  return out;
}

std::string FormatScientific(double value, const RegionalSettings& rs) {
  std::string out;
  if (AppendNonFinite(out, value, false)) return out;
  if (value == 0.0) return "0" + rs.DecimalSeparator + "00E+00";
  if (value < 0) out += '-';
  const Significant sig = RoundSignificant(std::abs(value), 3);
  out += sig.digits[0];
  out += rs.DecimalSeparator;
  out.append(sig.digits + 1, 2);
  AppendExponent(out, sig.exponent);
  return out;
}

std::string GeneralNumberText(double value, const RegionalSettings& rs) {
  std::string out;
  if (AppendNonFinite(out, value, false)) return out;
  if (value == 0.0) return "0";
  if (value < 0) out += '-';
  constexpr int kDigits = 15;
  const Significant sig = RoundSignificant(std::abs(value), kDigits);
  std::string_view digits(sig.digits, kDigits);
  digits = digits.substr(0, digits.find_last_not_of('0') + 1);
  const int e = sig.exponent;

  if (e < -4 || e >= kDigits) {  // 1.5E-05, 1E+15
    out += digits[0];
    if (digits.size() > 1) {
      out += rs.DecimalSeparator;
      out += digits.substr(1);
    }
    AppendExponent(out, e);
  } else if (e < 0) {  // 0.05
    out += '0';
    out += rs.DecimalSeparator;
    out.append(static_cast<std::size_t>(-e - 1), '0');
    out += digits;
  } else {  // 2, 12.5
    const std::size_t wholeDigits = static_cast<std::size_t>(e) + 1;
    if (digits.size() <= wholeDigits) {
      out += digits;
      out.append(wholeDigits - digits.size(), '0');
    } else {
      out += digits.substr(0, wholeDigits);
      out += rs.DecimalSeparator;
      out += digits.substr(wholeDigits);
    }
  }
  return out;
}

std::string IntegerText(long long value) {
  char buffer[24];
  return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

}  // namespace corvel
