#pragma once
// Builds the network states the engine tests train.

#include <string>
#include <vector>

#include "learning/engine.h"

namespace corvel {

// A state holding `rows` (each: inputs, then desired outputs), zero weights, and a new run
// of `maxSweeps` sweeps with a printout at every sweep.
inline PublicStuff MakeState(int nIn, int nOut, const std::vector<std::vector<double>>& rows,
                             const std::string& rule, double rate, int maxSweeps) {
  PublicStuff s;
  s.NumInputUnits = nIn;
  s.NumOutputUnits = nOut;
  s.NumPatterns = static_cast<int>(rows.size());
  s.InputPatterns = Array2D<double>(nIn, s.NumPatterns);
  s.DesiredOutputs = Array2D<double>(nOut, s.NumPatterns);
  for (int p = 1; p <= s.NumPatterns; ++p) {
    for (int i = 1; i <= nIn; ++i) s.InputPatterns(i, p) = rows[p - 1][i - 1];
    for (int j = 1; j <= nOut; ++j) s.DesiredOutputs(j, p) = rows[p - 1][nIn + j - 1];
  }
  s.AllocateNetwork();
  s.LearningRule = rule;
  s.LearningRate = rate;
  s.NewRun = 1;
  s.StopAtMaxSweeps = 1;
  s.MaxSweeps = maxSweeps;
  s.PrintSweeps = 1;
  return s;
}

}  // namespace corvel
