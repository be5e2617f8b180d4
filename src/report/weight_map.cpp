#include "report/weight_map.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace corvel {
namespace {

// The ramp from the deepest blue through white to the deepest red, at t = -1, -0.5, 0, 0.5, 1.
constexpr std::array<Rgb, 5> kStops = {Rgb{33, 61, 140}, Rgb{103, 169, 207}, Rgb{255, 255, 255},
                                       Rgb{239, 138, 98}, Rgb{165, 15, 45}};

std::uint8_t Mix(std::uint8_t a, std::uint8_t b, double f) {
  return static_cast<std::uint8_t>(std::lround(a + (b - a) * f));
}

}  // namespace

Rgb WeightColour(double weight, double scale) {
  if (std::isnan(weight)) return {128, 128, 128};
  const double t = scale > 0 ? std::clamp(weight / scale, -1.0, 1.0) : 0.0;
  const double at = (t + 1) * 2;  // 0 .. 4 across the stops
  const int below = std::min(static_cast<int>(at), 3);
  const double f = at - below;
  const Rgb& a = kStops[below];
  const Rgb& b = kStops[below + 1];
  return {Mix(a.r, b.r, f), Mix(a.g, b.g, f), Mix(a.b, b.b, f)};
}

std::string WeightScaleText(double scale, const RegionalSettings& rs) {
  const double magnitude = std::abs(scale);
  const bool plain = magnitude == 0 || (magnitude >= 0.01 && magnitude < 1e6);
  return plain ? FormatStandard(scale, rs) : FormatScientific(scale, rs);
}

WeightMapReduction::WeightMapReduction(const Array2D<double>& weights, WeightRegion region,
                                       int rows, int columns)
    : weights_(weights),
      region_(region),
      rows_(std::clamp(rows, region.inputs > 0 ? 1 : 0, std::max(region.inputs, 0))),
      columns_(std::clamp(columns, region.outputs > 0 ? 1 : 0, std::max(region.outputs, 0))),
      cells_(static_cast<std::size_t>(rows_) * static_cast<std::size_t>(columns_), 0.0) {
  for (int c = 0; c <= columns_; ++c)
    columnStart_.push_back(
        static_cast<int>(static_cast<long long>(c) * region_.outputs / std::max(columns_, 1)));
}

bool WeightMapReduction::Step(std::size_t weights) {
  const std::size_t perInput = static_cast<std::size_t>(std::max(region_.outputs, 1));
  for (std::size_t read = 0; !Done() && read < weights; read += perInput, ++next_) {
    const int row = static_cast<int>(static_cast<long long>(next_) * rows_ / region_.inputs);
    const double* w = &weights_(region_.firstOutput, region_.firstInput + next_);
    double* cell = &cells_[static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_)];
    for (int c = 0; c < columns_; ++c) {
      double best = cell[c];
      for (int k = columnStart_[c]; k < columnStart_[c + 1]; ++k)
        if (std::abs(w[k]) > std::abs(best)) best = w[k];
      cell[c] = best;
      if (std::isfinite(best)) largest_ = std::max(largest_, std::abs(best));
    }
  }
  return Done();
}

double WeightMapReduction::Cell(int row, int column) const {
  return cells_[static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_) +
                static_cast<std::size_t>(column)];
}

}  // namespace corvel
