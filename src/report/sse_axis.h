#pragma once
// The SSE axis of the chart: how high each bar stands and which ticks the axis labels, on a
// linear or a logarithmic scale. Labels stay short at every magnitude, so that a Hebb run
// whose error grows to 1E+27 reads as well as a Delta run that falls to 1E-06.
//
// Linear: ticks at 0 and every step up to the top, the step 1, 2 or 5 times a power of ten.
// A label is plain, with the thousands separator and the step's decimals (0, 200, 1,400;
// 0.05, 0.10), when the step is at least 0.01 and the top below a million; otherwise in the
// "Scientific" format (5.00E+08). Zero is always "0".
//
// Logarithmic: the bars stand on the power of ten at or below the smallest positive SSE and
// reach to the power at or above the largest; each decade is one unit of height. Zero (and a
// value that is not finite) stands at the foot. Ticks are at whole powers, every 1, 2, 5, 10,
// ... decades; labelled plainly (0.01, 1, 1,000) when every tick lies from 0.01 to 100,000,
// otherwise as 1E-06, 1E+27.

#include <string>
#include <vector>

#include "report/formats.h"

namespace corvel {

struct SSEAxisTick {
  double Position;  // in the axis's units, from its foot at 0
  std::string Label;
  friend bool operator==(const SSEAxisTick&, const SSEAxisTick&) = default;
};

struct SSEAxis {
  bool Logarithmic = false;
  int FootExponent = 0;  // logarithmic: the power of ten at the axis's foot
  double Top = 1;        // the axis's upper end, in its units
  std::vector<SSEAxisTick> Ticks;

  // How high a bar of `sse` stands, in the axis's units (0 to Top).
  double BarHeight(double sse) const;
};

// The axis for the SSE values `values`, with at most `maxTicks` labelled ticks (at least 2).
SSEAxis LinearSSEAxis(const std::vector<double>& values, int maxTicks, const RegionalSettings& rs);
SSEAxis LogarithmicSSEAxis(const std::vector<double>& values, int maxTicks,
                           const RegionalSettings& rs);

}  // namespace corvel
