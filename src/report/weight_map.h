#pragma once
// The weights drawn as a map, laid out as the report's weights section: a row per input
// unit, a column per output unit. The colours diverge symmetrically about zero: white at
// zero, deepening to blue for negative and to red for positive weights, the deepest at the
// largest magnitude drawn. Lightness alone orders the magnitudes, and blue and red stay apart
// for the common colour-vision deficiencies.
//
// A map larger than the room it is drawn in is reduced: each drawn cell covers a block of
// weights and shows the one of largest magnitude in it, so no large weight disappears. The
// reduction reads a slice of input units at a time, so that a caller can spread the work of
// a very large network over time.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "report/formats.h"
#include "state/public_stuff.h"

namespace corvel {

struct Rgb {
  std::uint8_t r, g, b;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// The colour of `weight` on a map whose deepest colours stand for `scale` (> 0) and beyond:
// white at 0, deepest blue at -scale, deepest red at +scale. Not a number is mid grey.
Rgb WeightColour(double weight, double scale);

// The colour key's text for `scale`: two decimals where they say enough (0, and from 0.01 up
// to a million), the Scientific format where they would not (1.00E-03, 2.50E+07).
std::string WeightScaleText(double scale, const RegionalSettings& rs);

// A rectangle of the weights: `inputs` input units from `firstInput` and `outputs` output
// units from `firstOutput`, counted from 1.
struct WeightRegion {
  int firstInput = 1, inputs = 0;
  int firstOutput = 1, outputs = 0;
  friend bool operator==(const WeightRegion&, const WeightRegion&) = default;
};

class WeightMapReduction {
 public:
  // `region` of `weights` drawn in `rows` x `columns` cells, at most one per unit. The
  // weights must stay as they are, and alive, while the reduction reads them.
  WeightMapReduction(const Array2D<double>& weights, WeightRegion region, int rows, int columns);

  // Reads up to about `weights` more weights, whole input units at a time; true once the
  // whole region is read.
  bool Step(std::size_t weights);
  bool Done() const { return next_ >= region_.inputs; }

  const WeightRegion& Region() const { return region_; }
  int Rows() const { return rows_; }
  int Columns() const { return columns_; }
  // The weight of largest magnitude in the block of cell (row, column), counted from 0;
  // 0 until its block is read.
  double Cell(int row, int column) const;
  // The largest finite magnitude read so far.
  double LargestMagnitude() const { return largest_; }

 private:
  const Array2D<double>& weights_;
  WeightRegion region_;
  int rows_, columns_;
  int next_ = 0;                  // input units of the region read
  std::vector<int> columnStart_;  // output offsets where each column's block starts, and the end
  std::vector<double> cells_;
  double largest_ = 0;
};

}  // namespace corvel
