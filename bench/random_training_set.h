#pragma once
// A training set of values drawn evenly from [-1, 1], the same on every run, for the
// benchmarks that train through the pages and the report's.

#include <random>

#include "state/public_stuff.h"

namespace corvel {

inline void FillRandomTrainingSet(PublicStuff& s, int inputs, int outputs, int patterns) {
  std::mt19937 random(2003);
  std::uniform_real_distribution<double> value(-1.0, 1.0);
  s.TrainingFileName = "bench.net";
  s.NumInputUnits = inputs;
  s.NumOutputUnits = outputs;
  s.NumPatterns = patterns;
  s.InputPatterns = Array2D<double>(inputs, patterns);
  s.DesiredOutputs = Array2D<double>(outputs, patterns);
  for (int p = 1; p <= patterns; ++p) {
    for (int i = 1; i <= inputs; ++i) s.InputPatterns(i, p) = value(random);
    for (int j = 1; j <= outputs; ++j) s.DesiredOutputs(j, p) = value(random);
  }
}

}  // namespace corvel
