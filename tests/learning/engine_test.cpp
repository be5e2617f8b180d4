// RunTraining's results on small sets worked out by hand, its SSE history and printouts, its
// stopping rules, continued runs and failures.

#include "learning/engine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "make_state.h"

namespace corvel {
namespace {

// Records every call; asks to stop after sweep `stopAfter`.
struct Recorder : TrainingObserver {
  int stopAfter = 0;
  int sweeps = 0, runsStarted = 0, runsEnded = 0;
  std::vector<TrainingProgress> printouts;
  TrainingProgress ended;
  void RunStarted(const RunStart&) override { ++runsStarted; }
  void SweepStarted(std::int32_t) override { ++sweeps; }
  void Printout(const TrainingProgress& p) override { printouts.push_back(p); }
  void RunEnded(const TrainingProgress& p) override { ++runsEnded, ended = p; }
  bool StopRequested() override { return sweeps == stopAfter; }
};

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

// One pattern trained from zero weights: Delta changes the weight by 0.5 * input * error,
// halving the error each sweep; Hebb adds 0.5 * input * desired each sweep whatever the
// error. Any rule name but exactly "Hebb" trains by Delta.
TEST(EngineByHand, RulesChangeTheWeightsByTheirFormulas) {
  const struct {
    const char* rule;
    double weight, change;
    std::vector<double> sse;  // TotalSSE at each sweep's printout
  } cases[] = {{"Delta", 0.75, 0.25, {0.25, 0.0625}},
               {"hebb", 0.75, 0.25, {0.25, 0.0625}},
               {"Hebb", 1.5, 0.5, {0.25, 0.0, 0.25}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.rule);
    PublicStuff s = OnePattern(c.rule, static_cast<int>(c.sse.size()));
    Recorder r;
    ASSERT_FALSE(RunTraining(s, r));
    EXPECT_EQ(s.Connections.Weight(1, 1), c.weight);
    EXPECT_EQ(s.Connections.Weight(1, 2), 0.0);
    EXPECT_EQ(s.Connections.WeightChange(1, 1), c.change);
    EXPECT_EQ(s.OutputUnits[1].Activation, c.weight);  // the last response, to input (1, 0)
    EXPECT_EQ(s.OutputUnits[1].Error, 1 - c.weight);
    EXPECT_EQ(s.SSEHistory[1][2], 1.0);  // sweep 0: zero weights, desired 1
    ASSERT_EQ(r.printouts.size(), c.sse.size());
    EXPECT_FALSE(r.printouts[0].ChangeValid);
    for (std::size_t k = 0; k < c.sse.size(); ++k) {
      EXPECT_EQ(r.printouts[k].TotalSSE, c.sse[k]);
      if (k > 0) EXPECT_EQ(r.printouts[k].SSEChange, c.sse[k - 1] - c.sse[k]);
    }
  }
}

class EngineRules : public testing::TestWithParam<std::string> {};

// A history row is kept at sweep 0 and every PrintSweeps-th sweep, up to 2000 rows.
TEST_P(EngineRules, HistoryRowsFollowPrintSweepsUpTo2000) {
  const struct {
    int sweeps, printSweeps, rows, printouts;
  } cases[] = {{35, 10, 4, 3}, {35, 0, 1, 0}, {35, -1, 1, 0}, {2100, 1, kSSEHistoryRows, 2100}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.printSweeps);
    PublicStuff s = OnePattern(GetParam(), c.sweeps);
    s.LearningRate = 0.01;
    s.PrintSweeps = c.printSweeps;
    Recorder r;
    ASSERT_FALSE(RunTraining(s, r));
    EXPECT_EQ(s.SweepCount, c.sweeps);
    EXPECT_EQ(r.runsEnded, 1);
    EXPECT_EQ(r.printouts.size(), static_cast<std::size_t>(c.printouts));
    ASSERT_EQ(s.SSEHistoryCount, c.rows);
    for (int row = 2; row <= c.rows; ++row) {
      EXPECT_EQ(s.SSEHistory[row][1], (row - 1) * c.printSweeps);
      EXPECT_EQ(s.SSEHistory[row][2], r.printouts[row - 2].TotalSSE);
    }
  }
}

// SSE per sweep: Hebb 0.25, 0, 0.25, ...; Delta 0.25, 0.0625, ...; the minimum stops a run
// only when checked and the SSE is strictly below it.
TEST_P(EngineRules, RunStopsAtTheFirstCheckedStoppingRule) {
  const struct {
    std::int16_t maxChecked, minChecked;
    double minSSE;
    int stopAfter, sweeps;
  } cases[] = {{1, 1, 0.25, 0, 2}, {1, 1, 0.3, 0, 1}, {1, 0, 0.3, 0, 4}, {0, 0, 0.3, 3, 3}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.minSSE << " checked " << c.minChecked);
    PublicStuff s = OnePattern(GetParam(), 4);
    s.StopAtMaxSweeps = c.maxChecked;
    s.StopAtMinSSE = c.minChecked;
    s.MinSSE = c.minSSE;
    Recorder r;
    r.stopAfter = c.stopAfter;
    ASSERT_FALSE(RunTraining(s, r));
    EXPECT_EQ(s.SweepCount, c.sweeps);
    EXPECT_EQ(r.runsStarted, 1);
    EXPECT_EQ(r.runsEnded, 1);
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
  ASSERT_EQ(split.SSEHistoryCount, 23);  // sweeps 0, 5, ..., 100, then 105 and 110
  EXPECT_EQ(split.SSEHistory[23][1], 110.0);

  // The first change of a continued run is taken against the run it continues.
  const double before = split.TotalSSE;
  split.MaxSweeps = 111;
  ASSERT_FALSE(RunTraining(split, r));
  EXPECT_EQ(r.ended.SSEChange, before - split.TotalSSE);

  split.NewRun = 1;  // a new run starts the history again
  split.MaxSweeps = 5;
  ASSERT_FALSE(RunTraining(split, r));
  EXPECT_EQ(split.SSEHistoryCount, 2);
  EXPECT_EQ(split.SSEHistory[2][1], 5.0);
}

INSTANTIATE_TEST_SUITE_P(BothRules, EngineRules, testing::Values("Hebb", "Delta"));

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
