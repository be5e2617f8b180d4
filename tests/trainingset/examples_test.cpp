// The sample training files show what examples/README.md promises a student will see.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "learning/engine.h"
#include "trainingset/loader.h"

namespace corvel {
namespace {

PublicStuff LoadExample(const std::string& name) {
  PublicStuff s;
  const auto error = LoadTrainingFile(s, std::filesystem::path(CORVEL_EXAMPLES_DIR) / name);
  EXPECT_FALSE(error) << error->message;
  return s;
}

// Trains from zero weights as "Start Training" does and returns the run's last total SSE.
double Train(PublicStuff& s, const char* rule, double rate, int sweeps) {
  s.AllocateNetwork();
  s.LearningRule = rule;
  s.LearningRate = rate;
  s.NewRun = 1;
  s.StopAtMaxSweeps = 1;
  s.StopAtMinSSE = 0;
  s.MaxSweeps = sweeps;
  s.PrintSweeps = 1;
  TrainingObserver quiet;
  EXPECT_FALSE(RunTraining(s, quiet));
  return s.TotalSSE;
}

// The SSE of the current weights over all patterns, each presented with the same weights.
double RecallSSE(PublicStuff& s) {
  double sum = 0.0;
  for (int p = 1; p <= s.NumPatterns; ++p) {
    ComputeResponse(s, p);
    sum += PatternSSE(s);
  }
  return sum;
}

double Dot(const PublicStuff& s, int p, int q) {
  double sum = 0.0;
  for (int i = 1; i <= s.NumInputUnits; ++i) sum += s.InputPatterns(i, p) * s.InputPatterns(i, q);
  return sum;
}

TEST(Examples, OrthonormalInputsAreLearnedInOneDeltaSweep) {
  PublicStuff s = LoadExample("orthonormal.net");
  for (int p = 1; p <= s.NumPatterns; ++p) {
    for (int q = 1; q <= s.NumPatterns; ++q) EXPECT_EQ(Dot(s, p, q), p == q ? 1.0 : 0.0);
  }
  EXPECT_EQ(Train(s, "Delta", 1.0, 1), 0.0);
  EXPECT_EQ(Train(s, "Delta", 1.0, 5), 0.0);
  EXPECT_EQ(Train(s, "Hebb", 1.0, 1), 0.0);
  EXPECT_GT(Train(s, "Hebb", 1.0, 2), 1.0);  // Hebb keeps adding the same changes
}

TEST(Examples, CorrelatedInputsGiveHebbCrossTalkButDeltaLearnsThem) {
  PublicStuff s = LoadExample("correlated.net");
  EXPECT_NE(Dot(s, 1, 2), 0.0);
  Train(s, "Hebb", 0.5, 1);
  EXPECT_GT(RecallSSE(s), 0.5);
  EXPECT_LT(Train(s, "Delta", 0.1, 100), 1e-5);
  EXPECT_LT(RecallSSE(s), 1e-5);
}

TEST(Examples, ImpossibleSetKeepsAnErrorNoWeightsCanRemove) {
  PublicStuff s = LoadExample("impossible.net");
  // Input 4 is input 2 plus input 3, so the errors of any weights satisfy
  // e4 - e2 - e3 = c with c = d4 - d2 - d3, and their SSE is at least c * c / 3.
  for (int i = 1; i <= s.NumInputUnits; ++i) {
    EXPECT_EQ(s.InputPatterns(i, 4), s.InputPatterns(i, 2) + s.InputPatterns(i, 3));
  }
  const double c = s.DesiredOutputs(1, 4) - s.DesiredOutputs(1, 2) - s.DesiredOutputs(1, 3);
  EXPECT_NE(c, 0.0);
  EXPECT_GT(Train(s, "Delta", 0.1, 1000), 1.0);
  EXPECT_GE(RecallSSE(s), c * c / 3 * (1 - 1e-12));
}

TEST(Examples, AutoassociatorOverlapDefeatsHebbNotDelta) {
  PublicStuff s = LoadExample("autoassociator8.net");
  EXPECT_EQ(s.InputPatterns, s.DesiredOutputs);
  EXPECT_GT(Train(s, "Hebb", 0.125, 1), 1.0);
  EXPECT_LT(Train(s, "Delta", 0.05, 100), 1e-5);
}

}  // namespace
}  // namespace corvel
