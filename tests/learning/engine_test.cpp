#include "learning/engine.h"

#include <gtest/gtest.h>

#include <vector>

namespace corvel {
namespace {

// Builds a state holding the given patterns (each row: inputs, then desired outputs).
PublicStuff MakeState(int nIn, int nOut, const std::vector<std::vector<double>>& rows) {
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
  s.NewRun = 1;
  s.StopAtMaxSweeps = 1;
  s.PrintSweeps = 1;
  return s;
}

TEST(Engine, DeltaRuleOnOnePattern) {
  PublicStuff s = MakeState(2, 1, {{1, 0, 1}});
  s.LearningRule = "Delta";
  s.LearningRate = 0.5;
  s.MaxSweeps = 2;
  TrainingObserver quiet;
  ASSERT_FALSE(RunTraining(s, quiet));
  EXPECT_EQ(s.Connections.Weight(1, 1), 0.75);
  EXPECT_EQ(s.TotalSSE, 0.0625);
}

}  // namespace
}  // namespace corvel
