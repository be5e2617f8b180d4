#pragma once
// The training set the page tests share, as if "overlap.net" had been loaded: three inputs,
// two outputs and two patterns that share input 2, so the Hebb rule overshoots while the
// Delta rule converges.

#include "state/public_stuff.h"

inline void LoadOverlapSet(corvel::PublicStuff& s) {
  s.TrainingFileName = "overlap.net";
  s.NumInputUnits = 3;
  s.NumOutputUnits = s.NumPatterns = 2;
  s.InputPatterns = corvel::Array2D<double>(3, 2);
  s.DesiredOutputs = corvel::Array2D<double>(2, 2);
  s.InputPatterns(1, 1) = s.InputPatterns(2, 1) = 1.0;
  s.InputPatterns(2, 2) = s.InputPatterns(3, 2) = 1.0;
  s.DesiredOutputs(1, 1) = s.DesiredOutputs(2, 2) = 1.0;
}
