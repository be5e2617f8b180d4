// RunTraining's results on small sets worked out by hand, its SSE history and printouts, its
// stopping rules, continued runs and failures.

#include "learning/engine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace corvel {
namespace {

// A state holding the given patterns (each row: inputs, then desired outputs), zero
// weights, a new run of `maxSweeps` sweeps with a printout at every sweep.
PublicStuff MakeState(int nIn, int nOut, const std::vector<std::vector<double>>& rows,
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

// Records every call; asks to stop after sweep `stopAfter`.
struct Recorder : TrainingObserver {
  int stopAfter = 0;
  int sweeps = 0, runsStarted = 0, runsEnded = 0;
  std::vector<TrainingProgress> printouts;
  void RunStarted(const RunStart&) override { ++runsStarted; }
  void SweepStarted(std::int32_t) override { ++sweeps; }
  void Printout(const TrainingProgress& p) override { printouts.push_back(p); }
  TrainingProgress ended;
  void RunEnded(const TrainingProgress& p) override { ++runsEnded, ended = p; }
  bool StopRequested() override { return sweeps == stopAfter; }
};

std::vector<double> HistorySweeps(const PublicStuff& s) {
  std::vector<double> sweeps;
  for (int r = 1; r <= s.SSEHistoryCount; ++r) sweeps.push_back(s.SSEHistory[r][1]);
  return sweeps;
}

// One pattern, inputs (1, 0), desired 1, rate 0.5.
PublicStuff OnePattern(const std::string& rule, int sweeps) {
  return MakeState(2, 1, {{1, 0, 1}}, rule, 0.5, sweeps);
}

// The response sums each unit's inputs in ascending order, whatever vector width runs it;
// 13 outputs leave a remainder for every width.
TEST(EngineResponse, SumsInputsInAscendingOrder) {
  PublicStuff s = MakeState(7, 13, {std::vector<double>(20, 0.0)}, "Delta", 0.0, 1);
  for (int i = 1; i <= 7; ++i) {
    s.InputPatterns(i, 1) = 1.0 / (i + 2);
    for (int j = 1; j <= 13; ++j) s.Connections.Weight(j, i) = std::sin(i * 13.0 + j) * 1e3;
  }
  for (int j = 1; j <= 13; ++j) s.DesiredOutputs(j, 1) = j;
  ComputeResponse(s, 1);
  for (int j = 1; j <= 13; ++j) {
    double net = 0.0;
    for (int i = 1; i <= 7; ++i) net = s.Connections.Weight(j, i) * s.InputPatterns(i, 1) + net;
    EXPECT_EQ(s.OutputUnits[j].NetInput, net) << "unit " << j;
    EXPECT_EQ(s.OutputUnits[j].Activation, net);
    EXPECT_EQ(s.OutputUnits[j].Error, j - net);
  }
}

TEST(EngineByHand, DeltaHalvesTheErrorEachSweep) {
  PublicStuff s = OnePattern("Delta", 2);
  Recorder r;
  ASSERT_FALSE(RunTraining(s, r));
  EXPECT_EQ(s.Connections.Weight(1, 1), 0.75);
  EXPECT_EQ(s.Connections.Weight(1, 2), 0.0);
  EXPECT_EQ(s.Connections.WeightChange(1, 1), 0.25);
  ASSERT_EQ(r.printouts.size(), 2u);
  EXPECT_EQ(r.printouts[0].TotalSSE, 0.25);
  EXPECT_FALSE(r.printouts[0].ChangeValid);
  EXPECT_EQ(r.printouts[1].TotalSSE, 0.0625);
  EXPECT_EQ(r.printouts[1].SSEChange, 0.1875);
  EXPECT_EQ(s.OutputUnits[1].Activation, 0.75);
  EXPECT_EQ(s.OutputUnits[1].Error, 0.25);
}

TEST(EngineByHand, HebbAddsTheSameChangeEachSweep) {
  PublicStuff s = OnePattern("Hebb", 3);
  Recorder r;
  ASSERT_FALSE(RunTraining(s, r));
  EXPECT_EQ(s.Connections.Weight(1, 1), 1.5);
  EXPECT_EQ(s.Connections.WeightChange(1, 1), 0.5);
  ASSERT_EQ(r.printouts.size(), 3u);
  EXPECT_EQ(r.printouts[0].TotalSSE, 0.25);
  EXPECT_EQ(r.printouts[1].TotalSSE, 0.0);
  EXPECT_EQ(r.printouts[2].TotalSSE, 0.25);
  EXPECT_EQ(r.printouts[2].SSEChange, -0.25);
  EXPECT_EQ(s.SSEHistory[1][2], 1.0);  // sweep 0: zero weights, desired 1
}

// Orthonormal inputs (unit vectors), two outputs.
TEST(EngineByHand, OrthonormalSetIsLearnedInOneSweep) {
  const std::vector<std::vector<double>> rows{{1, 0, 0, 0.5, -2}, {0, 0, 1, 3, 0.25}};
  PublicStuff delta = MakeState(3, 2, rows, "Delta", 1.0, 1);
  PublicStuff hebb = MakeState(3, 2, rows, "Hebb", 1.0, 2);
  Recorder r;
  ASSERT_FALSE(RunTraining(delta, r));
  ASSERT_FALSE(RunTraining(hebb, r));
  EXPECT_EQ(delta.TotalSSE, 0.0);
  EXPECT_EQ(delta.SSEHistory[1][2], 0.25 + 4 + 9 + 0.0625);
  for (int j = 1; j <= 2; ++j) {
    for (int i = 1; i <= 3; ++i) {
      const double learned = i == 2 ? 0.0 : delta.DesiredOutputs(j, i == 1 ? 1 : 2);
      EXPECT_EQ(delta.Connections.Weight(j, i), learned);
      EXPECT_EQ(hebb.Connections.Weight(j, i), 2 * learned);
    }
  }
}

class EngineRules : public testing::TestWithParam<std::string> {};

TEST_P(EngineRules, HistoryCapsAt2000Rows) {
  PublicStuff s = OnePattern(GetParam(), 2100);
  s.LearningRate = 1e-6;
  Recorder r;
  ASSERT_FALSE(RunTraining(s, r));
  EXPECT_EQ(s.SweepCount, 2100);
  EXPECT_EQ(r.printouts.size(), 2100u);
  ASSERT_EQ(s.SSEHistoryCount, kSSEHistoryRows);
  EXPECT_EQ(s.SSEHistory[2000][1], 1999.0);
  EXPECT_EQ(s.SSEHistory[2000][2], r.printouts[1998].TotalSSE);
}

TEST_P(EngineRules, PrintoutRowsFollowPrintSweeps) {
  for (const int printSweeps : {10, 0, -1}) {
    PublicStuff s = OnePattern(GetParam(), 35);
    s.LearningRate = 0.01;
    s.PrintSweeps = printSweeps;
    Recorder r;
    ASSERT_FALSE(RunTraining(s, r));
    const std::vector<double> rows =
        printSweeps == 10 ? std::vector<double>{0, 10, 20, 30} : std::vector<double>{0};
    EXPECT_EQ(HistorySweeps(s), rows) << printSweeps;
    EXPECT_EQ(r.printouts.size(), rows.size() - 1) << printSweeps;
    EXPECT_EQ(r.runsEnded, 1);
  }
}

TEST_P(EngineRules, MinimumSSEStopsOnlyWhenStrictlyBelowAndChecked) {
  // Hebb: SSE 0.25, 0, 0.25; Delta: 0.25, 0.0625, ...; at most 4 sweeps.
  const struct {
    std::int16_t checked;
    double minSSE;
    int sweeps;
  } cases[] = {{1, 0.25, 2}, {1, 0.3, 1}, {0, 0.3, 4}};
  for (const auto& c : cases) {
    PublicStuff s = OnePattern(GetParam(), 4);
    s.StopAtMinSSE = c.checked;
    s.MinSSE = c.minSSE;
    Recorder r;
    ASSERT_FALSE(RunTraining(s, r));
    EXPECT_EQ(s.SweepCount, c.sweeps) << c.minSSE << " checked " << c.checked;
  }
}

TEST_P(EngineRules, ContinuedRunCarriesOnAsOneRun) {
  const std::vector<std::vector<double>> rows{{1, 0.5, 0.25}, {-0.5, 1, 1}};
  PublicStuff once = MakeState(2, 1, rows, GetParam(), 0.01, 110);
  PublicStuff split = MakeState(2, 1, rows, GetParam(), 0.01, 100);
  once.PrintSweeps = split.PrintSweeps = 5;
  Recorder r;
  ASSERT_FALSE(RunTraining(once, r));
  ASSERT_FALSE(RunTraining(split, r));
  split.NewRun = 0;
  split.MaxSweeps = 110;
  ASSERT_FALSE(RunTraining(split, r));
  EXPECT_EQ(split.SweepCount, 110);
  EXPECT_EQ(split.Connections.Weight, once.Connections.Weight);
  EXPECT_EQ(split.SSEHistory, once.SSEHistory);
  EXPECT_EQ(HistorySweeps(split).back(), 110.0);
  EXPECT_EQ(split.SSEHistoryCount, 23);  // sweeps 0, 5, ..., 100, then 105 and 110

  // The first change of a continued run is taken against the run it continues.
  const double before = split.TotalSSE;
  split.MaxSweeps = 111;
  ASSERT_FALSE(RunTraining(split, r));
  EXPECT_EQ(r.ended.SSEChange, before - split.TotalSSE);

  split.NewRun = 1;  // a new run starts the history again
  split.MaxSweeps = 5;
  ASSERT_FALSE(RunTraining(split, r));
  EXPECT_EQ(HistorySweeps(split), (std::vector<double>{0, 5}));
}

TEST_P(EngineRules, ObserverCanStopARun) {
  PublicStuff s = OnePattern(GetParam(), 100);
  s.StopAtMaxSweeps = 0;  // only the stop request ends it
  Recorder r;
  r.stopAfter = 3;
  ASSERT_FALSE(RunTraining(s, r));
  EXPECT_EQ(s.SweepCount, 3);
  EXPECT_EQ(r.runsStarted, 1);
  EXPECT_EQ(r.runsEnded, 1);
}

INSTANTIATE_TEST_SUITE_P(BothRules, EngineRules, testing::Values("Hebb", "Delta"));

TEST(EngineRule, OnlyExactHebbSelectsHebb) {
  PublicStuff lower = OnePattern("hebb", 3);
  PublicStuff delta = OnePattern("Delta", 3);
  Recorder r;
  ASSERT_FALSE(RunTraining(lower, r));
  ASSERT_FALSE(RunTraining(delta, r));
  EXPECT_EQ(lower.Connections.Weight, delta.Connections.Weight);
  EXPECT_EQ(lower.TotalSSE, delta.TotalSSE);
}

TEST(EngineFailure, DivergingDeltaRunEndsWithOverflow) {
  PublicStuff s = MakeState(2, 1, {{1, 1, 1}, {1, -1, 0}}, "Delta", 1e3, 5000);
  s.PrintSweeps = 10;
  Recorder r;
  const auto failure = RunTraining(s, r);
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->Code, kOverflowCode);
  EXPECT_EQ(r.runsEnded, 0);
  EXPECT_EQ(r.sweeps, s.SweepCount);
  EXPECT_LT(s.SweepCount, 5000);
  EXPECT_TRUE(std::isfinite(s.TotalSSE));
  EXPECT_EQ(s.SSEHistoryCount, 1 + (s.SweepCount - 1) / 10);
}

TEST(EngineFailure, BadCountsAndShapesAreFailures) {
  Recorder r;
  PublicStuff big = OnePattern("Delta", 1);
  big.NumPatterns = kMaxCount + 1;
  EXPECT_EQ(RunTraining(big, r)->Code, kOverflowCode);

  PublicStuff shape = OnePattern("Delta", 1);
  shape.NumInputUnits = 3;  // arrays made for 2 inputs
  EXPECT_EQ(RunTraining(shape, r)->Code, kSubscriptCode);
  EXPECT_EQ(r.runsStarted, 0);

  PublicStuff last = OnePattern("Hebb", 1);
  last.NewRun = 0;
  last.SweepCount = std::numeric_limits<std::int32_t>::max();
  last.MaxSweeps = 0;
  EXPECT_EQ(RunTraining(last, r)->Code, kOverflowCode);
  EXPECT_EQ(last.SweepCount, std::numeric_limits<std::int32_t>::max());
}

}  // namespace
}  // namespace corvel
