#include "report/sse_axis.h"

#include <algorithm>
#include <cmath>

namespace corvel {
namespace {

// The smallest step of 1, 2 or 5 times a power of ten that covers `span` in `count` steps.
double NiceStep(double span, int count) {
  const double least = span / count;
  const double power = std::pow(10.0, std::floor(std::log10(least)));
  for (const double factor : {1.0, 2.0, 5.0, 10.0})
    if (factor * power >= least) return factor * power;
  return 10.0 * power;
}

// The "Standard" text of `value` with `decimals` (0 to 2) of its two decimals kept.
std::string PlainText(double value, int decimals, const RegionalSettings& rs) {
  std::string text = FormatStandard(value, rs);
  text.resize(text.size() - (2 - decimals) - (decimals == 0 ? rs.DecimalSeparator.size() : 0));
  return text;
}

// "1E-06", "1E+27": ten to the power `exponent`.
std::string PowerText(int exponent) {
  const int magnitude = std::abs(exponent);
  return std::string("1E") + (exponent < 0 ? "-" : "+") + (magnitude < 10 ? "0" : "") +
         std::to_string(magnitude);
}

// Every how many decades a tick stands: 1, 2, 5, 10, 20, ... whichever first keeps the ticks
// within `maxTicks`.
int DecadeStep(int decades, int maxTicks) {
  for (int power = 1;; power *= 10)
    for (const int factor : {1, 2, 5})
      if (decades / (factor * power) + 1 <= maxTicks) return factor * power;
}

std::vector<double> PositiveFinite(const std::vector<double>& values) {
  std::vector<double> kept;
  for (const double v : values)
    if (std::isfinite(v) && v > 0) kept.push_back(v);
  return kept;
}

}  // namespace

double SSEAxis::BarHeight(double sse) const {
  if (!std::isfinite(sse) || sse <= 0) return 0;
  const double height = Logarithmic ? std::log10(sse) - FootExponent : sse;
  return std::clamp(height, 0.0, Top);
}

SSEAxis LinearSSEAxis(const std::vector<double>& values, int maxTicks, const RegionalSettings& rs) {
  const std::vector<double> positive = PositiveFinite(values);
  const double highest =
      positive.empty() ? 1.0 : *std::max_element(positive.begin(), positive.end());
  const int steps = std::max(maxTicks, 2) - 1;
  const double step = NiceStep(highest, steps);
  SSEAxis axis;
  axis.Top = std::ceil(highest / step) * step;
  if (!std::isfinite(axis.Top)) axis.Top = highest;  // a step past the largest double
  const bool plain = step >= 0.01 && axis.Top < 1e6;
  const int decimals =
      plain ? std::clamp(static_cast<int>(-std::floor(std::log10(step))), 0, 2) : 0;
  for (int k = 0; k * step <= axis.Top * (1 + 1e-12); ++k) {
    const double value = k * step;
    axis.Ticks.push_back({value, k == 0  ? "0"
                                 : plain ? PlainText(value, decimals, rs)
                                         : FormatScientific(value, rs)});
  }
  return axis;
}

SSEAxis LogarithmicSSEAxis(const std::vector<double>& values, int maxTicks,
                           const RegionalSettings& rs) {
  const std::vector<double> positive = PositiveFinite(values);
  SSEAxis axis;
  axis.Logarithmic = true;
  int top = 1;
  if (!positive.empty()) {
    const auto [low, high] = std::minmax_element(positive.begin(), positive.end());
    axis.FootExponent = static_cast<int>(std::floor(std::log10(*low)));
    top = std::max(static_cast<int>(std::ceil(std::log10(*high))), axis.FootExponent + 1);
  }
  const int decades = top - axis.FootExponent;
  axis.Top = decades;
  const int every = DecadeStep(decades, std::max(maxTicks, 2));
  const bool plain = axis.FootExponent >= -2 && top <= 5;
  for (int k = 0; k <= decades; k += every) {
    const int exponent = axis.FootExponent + k;
    axis.Ticks.push_back({static_cast<double>(k),
                          plain ? PlainText(std::pow(10.0, exponent), std::max(-exponent, 0), rs)
                                : PowerText(exponent)});
  }
  return axis;
}

}  // namespace corvel
