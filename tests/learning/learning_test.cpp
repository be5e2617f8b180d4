// The engine: its rules on a small set worked out by hand, its stopping rules and history,
// its failures; the fast sweeps bit for bit against the plain loops; and reading
// the training parameters from the set-up page's boxes.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "learning/engine.h"
#include "learning/pattern_responses.h"
#include "learning/sweep_workspace.h"
#include "learning/training_parameters.h"
#include "learning/training_run.h"
#include "trainingset/loader.h"

namespace corvel {
namespace {

// A state holding the set a training file with `text` holds, zero weights, and a new run of
// `maxSweeps` sweeps with a printout at every sweep.
PublicStuff MakeState(const std::string& text, const std::string& rule, double rate,
                      int maxSweeps) {
  PublicStuff s;
  EXPECT_FALSE(LoadTrainingText(s, text, "set.net"));
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
  void RunEnded(const TrainingProgress&) override { ++runsEnded; }
  void SweepStarted(std::int32_t) override { ++sweeps; }
  void Printout(const TrainingProgress& p) override { printouts.push_back(p); }
  bool StopRequested() override { return sweeps == stopAfter; }
};

// One pattern, inputs (1, 0), desired 1, rate 0.5.
PublicStuff OnePattern(const std::string& rule, int sweeps) {
  return MakeState("1 0 2 1  1 0  1", rule, 0.5, sweeps);
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
    EXPECT_EQ(s.Connections.WeightChange(1, 1), c.change);
    EXPECT_EQ(s.SSEHistory[1][2], 1.0);  // sweep 0: zero weights, desired 1
    ASSERT_EQ(r.printouts.size(), c.sse.size());
    for (std::size_t k = 0; k < c.sse.size(); ++k) EXPECT_EQ(r.printouts[k].TotalSSE, c.sse[k]);
  }
}

// SSE per sweep: 0.25, 0.0625, ...; the minimum stops a run only when checked and the SSE is
// strictly below it. A history row is kept at sweep 0 and every PrintSweeps-th sweep, up to
// 2000 rows.
TEST(EngineRun, StoppingRulesAndHistoryRows) {
  const struct {
    std::int16_t maxChecked, minChecked;
    double minSSE;
    int stopAfter, maxSweeps, printSweeps, sweeps, rows;
  } cases[] = {{1, 1, 0.25, 0, 4, 1, 2, 3}, {1, 0, 0.3, 0, 4, 1, 4, 5},
               {0, 0, 0.3, 3, 4, 1, 3, 4},  {1, 0, 0, 0, 35, 10, 35, 4},
               {1, 0, 0, 0, 35, 0, 35, 1},  {1, 0, 0, 0, 2100, 1, 2100, kSSEHistoryRows}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "row " << &c - cases);
    PublicStuff s = OnePattern("Delta", c.maxSweeps);
    s.StopAtMaxSweeps = c.maxChecked;
    s.StopAtMinSSE = c.minChecked;
    s.MinSSE = c.minSSE;
    s.PrintSweeps = c.printSweeps;
    Recorder r;
    r.stopAfter = c.stopAfter;
    ASSERT_FALSE(RunTraining(s, r));
    EXPECT_EQ(s.SweepCount, c.sweeps);
    EXPECT_EQ(r.printouts.size(), c.printSweeps > 0 ? c.sweeps / c.printSweeps : 0);
    ASSERT_EQ(s.SSEHistoryCount, c.rows);
    for (int row = 2; row <= c.rows; ++row) {
      EXPECT_EQ(s.SSEHistory[row][1], (row - 1) * c.printSweeps);
      EXPECT_EQ(s.SSEHistory[row][2], r.printouts[row - 2].TotalSSE);
    }
  }
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

struct Shape {
  int in, out, pat;
};

// Random values in [-1, 1], with some exact zeros of both signs.
PublicStuff RandomState(const Shape& shape, const std::string& rule, double rate, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> value(-1.0, 1.0);
  std::string text = std::to_string(shape.out) + " 0 " + std::to_string(shape.in) + " " +
                     std::to_string(shape.pat);
  for (int k = 0; k < shape.pat * (shape.in + shape.out); ++k) {
    const double v = value(rng);
    char number[32];  // as many digits as give back the same double
    std::snprintf(number, sizeof number, " %.17g", std::fabs(v) < 0.1 ? std::copysign(0.0, v) : v);
    text += number;
  }
  return MakeState(text, rule, rate, 0);
}

// The run loop over the engine's plain routines, with no observer and no stop request. It
// ends at the first pattern whose SSE leaves the total overflowed or invalid; an overflowed
// weight or unit always does so within the pattern that made it.
bool ReferenceRun(PublicStuff& s) {
  const auto addSSE = [&s](double& total, int p) {
    ComputeResponse(s, p);
    const double sum = total + PatternSSE(s);
    if (!std::isfinite(sum)) return false;
    total = sum;
    return true;
  };
  if (s.NewRun == 1) s.SweepCount = 0;
  if (s.SweepCount == 0) {
    s.SSEHistoryCount = 1;
    s.SSEHistory[1] = {0.0, 0.0, 0.0};
    for (int p = 1; p <= s.NumPatterns; ++p) {
      if (!addSSE(s.SSEHistory[1][2], p)) return false;
    }
  }
  std::int32_t sinceOut = 0;
  do {
    ++s.SweepCount;
    s.TotalSSE = 0.0;
    for (int p = 1; p <= s.NumPatterns; ++p) {
      (s.LearningRule == "Hebb" ? ApplyHebbRule : ApplyDeltaRule)(s, p);
      if (!addSSE(s.TotalSSE, p)) return false;
    }
    if (++sinceOut == s.PrintSweeps) {
      sinceOut = 0;
      if (s.SSEHistoryCount < kSSEHistoryRows) {
        ++s.SSEHistoryCount;
        s.SSEHistory[s.SSEHistoryCount] = {0.0, static_cast<double>(s.SweepCount), s.TotalSSE};
      }
    }
  } while (s.SweepCount != s.MaxSweeps);
  return true;
}

std::uint64_t Bits(double d) {
  std::uint64_t bits;
  std::memcpy(&bits, &d, sizeof bits);
  return bits;
}

// What a run writes, as bits, so that -0 and +0 or two NaNs are told apart: the progress
// and history, and unless a run failed (the fast loop finishes the failing sweep) the
// weights, changes and units.
std::vector<std::uint64_t> Results(const PublicStuff& s, bool withNetwork = true) {
  std::vector<double> v{static_cast<double>(s.SweepCount), s.TotalSSE,
                        static_cast<double>(s.SSEHistoryCount)};
  for (int r = 1; r <= s.SSEHistoryCount; ++r)
    v.insert(v.end(), {s.SSEHistory[r][1], s.SSEHistory[r][2]});
  if (withNetwork) {
    for (int i = 1; i <= s.NumInputUnits; ++i)
      for (int j = 1; j <= s.NumOutputUnits; ++j)
        v.insert(v.end(), {s.Connections.Weight(j, i), s.Connections.WeightChange(j, i)});
    for (const auto* units : {&s.InputUnits, &s.OutputUnits})
      for (const UnitRecord& u : *units) v.insert(v.end(), {u.NetInput, u.Activation, u.Error});
  }
  std::vector<std::uint64_t> bits;
  for (double d : v) bits.push_back(Bits(d));
  return bits;
}

// NetInputs reads each weight once, for every pattern, in strips of output units (13 units
// wide for 5000 patterns); every sum has the bits of presenting its pattern. So has a group of
// patterns made a slice of inputs at a time, with its errors and SSE.
TEST(NetInputs, AreThoseOfPresentingEachPattern) {
  PublicStuff s = RandomState({3, 30, 5000}, "Hebb", 0.1, 11);
  std::mt19937 rng(3);
  std::uniform_real_distribution<double> value(-1.0, 1.0);
  for (int i = 1; i <= 3; ++i)
    for (int j = 1; j <= 30; ++j) s.Connections.Weight(j, i) = value(rng);
  const std::vector<double> nets = NetInputs(s);
  PatternResponses group(s, 4990, 11);
  while (!group.AddInputs(2)) {
  }
  for (int p = 1; p <= 5000; ++p) {
    ComputeResponse(s, p);
    for (int j = 1; j <= 30; ++j)
      ASSERT_EQ(Bits(nets.at((p - 1) * 30 + (j - 1))), Bits(s.OutputUnits[j].NetInput))
          << j << ", " << p;
    if (p < 4990) continue;
    for (int j = 1; j <= 30; ++j) ASSERT_EQ(Bits(group.Error(p, j)), Bits(s.OutputUnits[j].Error));
    ASSERT_EQ(Bits(group.SSE(p)), Bits(PatternSSE(s)));
  }
}

using Param = std::tuple<const detail::KernelSet*, std::string, Shape>;
class FastSweepsEqualReference : public testing::TestWithParam<Param> {};

// A new run, its continuation and a fresh start that a stop request ends (a printout at every
// sweep) end bit for bit as the plain loops end them, on one worker and on three (one block
// each, or more workers than blocks). Then two runs that overflow: one already at the
// response to its starting weights, which leaves the network, changes included, as it was;
// one in the middle pattern of its first sweep, which ends with the same total and history.
TEST_P(FastSweepsEqualReference, RunsAndOverflowsEndAsThePlainLoops) {
  const auto& [kernels, rule, shape] = GetParam();
  PublicStuff fast = RandomState(shape, rule, 1.0 / (shape.in + 1), 7u * shape.in + shape.out);
  PublicStuff slow = fast, threaded = fast;
  const struct {
    int newRun, maxSweeps, printSweeps;
    bool stopRequest;
  } runs[] = {{1, 5, 2, false}, {0, 8, 2, false}, {1, 3, 1, true}};
  for (const auto& run : runs) {
    for (PublicStuff* s : {&fast, &slow, &threaded}) {
      s->NewRun = static_cast<std::int16_t>(run.newRun);
      s->MaxSweeps = run.stopRequest && s != &slow ? 1000 : run.maxSweeps;
      s->PrintSweeps = run.printSweeps;
    }
    Recorder oneWorker, threeWorkers;
    if (run.stopRequest) oneWorker.stopAfter = threeWorkers.stopAfter = run.maxSweeps;
    ASSERT_FALSE(detail::RunTrainingWith(fast, oneWorker, *kernels));
    ASSERT_FALSE(detail::RunTrainingWith(threaded, threeWorkers, *kernels, 3));
    ASSERT_TRUE(ReferenceRun(slow));
    EXPECT_EQ(Results(fast), Results(slow)) << "run " << &run - runs;
    EXPECT_EQ(Results(threaded), Results(slow)) << "run " << &run - runs << " on three workers";
  }
  if (shape.in * shape.out * shape.pat == 0) return;
  const int middle = (shape.pat + 1) / 2;
  TrainingObserver quiet;
  for (const bool atStart : {true, false}) {
    SCOPED_TRACE(atStart ? "at the start" : "in a sweep");
    if (atStart) {
      fast.Connections.Weight(1, 1) = 1e300;
      fast.InputPatterns(1, middle) = 1e300;
    } else {
      // From zero weights at a high rate the response overflows after the pattern's step.
      ClearConnections(fast);
      fast.LearningRate = 1e3 * shape.in;
      fast.InputPatterns(1, middle) = 1e200;
      fast.DesiredOutputs(1, middle) = 1.0;
    }
    slow = threaded = fast;
    const auto failure = detail::RunTrainingWith(fast, quiet, *kernels);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->Code, kOverflowCode);
    EXPECT_EQ(detail::RunTrainingWith(threaded, quiet, *kernels, 3), failure);
    EXPECT_FALSE(ReferenceRun(slow));
    // The fast loops finish a failing sweep, so only a failure before any sweep leaves the
    // same network.
    EXPECT_EQ(Results(fast, atStart), Results(slow, atStart));
    EXPECT_EQ(Results(threaded, atStart), Results(slow, atStart));
  }
}

// Inputs x outputs x patterns that leave blocks and pattern groups partly filled.
const Shape kShapes[] = {{5, 1, 6},    {5, 3, 1},  {5, 17, 7}, {200, 33, 6},
                         {300, 65, 5}, {5, 65, 9}, {17, 17, 4}};
const Shape kEmptyShapes[] = {{0, 3, 2}, {4, 3, 0}, {4, 0, 3}};

// Every kernel set this processor runs, under both rules, on each of `shapes`.
auto Params(const auto& shapes) {
  return testing::Combine(testing::ValuesIn(detail::SupportedKernelSets()),
                          testing::Values("Hebb", "Delta"), testing::ValuesIn(shapes));
}
// Names such as AVX512_Hebb_5x17x7, the same from run to run (CTest runs each by its name).
std::string ParamName(const testing::TestParamInfo<Param>& info) {
  const auto& [kernels, rule, shape] = info.param;
  std::string name = kernels->name;
  std::erase_if(name, [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); });
  return name + "_" + rule + "_" + std::to_string(shape.in) + "x" + std::to_string(shape.out) +
         "x" + std::to_string(shape.pat);
}
INSTANTIATE_TEST_SUITE_P(Shapes, FastSweepsEqualReference, Params(kShapes), ParamName);
INSTANTIATE_TEST_SUITE_P(EmptyShapes, FastSweepsEqualReference, Params(kEmptyShapes), ParamName);

// A run driven a few sweeps at a time ends as one driven in a single call; Stop ends it
// after the sweep last made (after one sweep when none was made), as a stop request would.
TEST(TrainingRun, SlicesAndStopsEndAsOneCall) {
  PublicStuff start = RandomState({17, 9, 5}, "Delta", 0.05, 3);
  start.PrintSweeps = 3;  // printouts at sweeps 3 and 6, across the slices' ends
  const auto oneCall = [&start](int sweeps) {
    PublicStuff s = start;
    s.MaxSweeps = sweeps;
    Recorder r;
    EXPECT_FALSE(RunTraining(s, r));
    return Results(s);
  };
  PublicStuff sliced = start;
  sliced.MaxSweeps = 7;
  Recorder r;
  TrainingRun run(sliced, r);
  EXPECT_FALSE(run.Advance(2));
  EXPECT_FALSE(run.Advance(4));
  EXPECT_TRUE(run.Advance(5));
  EXPECT_EQ(Results(sliced), oneCall(7));
  EXPECT_EQ(r.printouts.size(), 2u);

  for (const int before : {3, 0}) {
    PublicStuff stopped = start;
    stopped.MaxSweeps = 7;
    Recorder ends;
    TrainingRun early(stopped, ends);
    early.Advance(before);
    early.Stop();
    EXPECT_TRUE(early.Ended());
    EXPECT_EQ(ends.runsEnded, 1);
    EXPECT_EQ(Results(stopped), oneCall(std::max(before, 1)));
  }
}

struct Reading {
  PublicStuff state;
  ParameterBoxes boxes;
  ParameterOutcome outcome;
};

// Reads `boxes` into a state whose learning parameters hold recognisable earlier values (7).
Reading Read(ParameterBoxes boxes) {
  Reading r{PublicStuff{}, std::move(boxes), {}};
  r.state.LearningRate = 7;
  r.state.PrintSweeps = 7;
  r.state.MinSSE = 7;
  r.state.MaxSweeps = 7;
  r.outcome = ReadTrainingParameters(r.state, r.boxes);
  return r;
}

// Boxes in the tables below: {max checked, min checked, sweeps, rate, printouts, min error}.
TEST(ReadTrainingParameters, AcceptsAndStoresEveryParameter) {
  const struct {
    ParameterBoxes boxes;
    std::int32_t maxSweeps, printSweeps;
    double rate, minSSE;
  } cases[] = {
      // Counts round ties to even.
      {{true, true, "2.5", "+.25", " 3.5 ", "1e-3"}, 2, 4, 0.25, 1e-3},
      // A zero rate is accepted; an unchecked maximum and an empty minimum-error box keep the
      // earlier values.
      {{false, true, "0", "0", "10", ""}, 7, 10, 0, 7},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "row " << &c - cases);
    const Reading r = Read(c.boxes);
    EXPECT_TRUE(r.outcome.Accepted);
    EXPECT_EQ(r.state.StopAtMaxSweeps, c.boxes.MaxSweepsChecked ? 1 : 0);
    EXPECT_EQ(r.state.StopAtMinSSE, c.boxes.MinSSEChecked ? 1 : 0);
    EXPECT_EQ(r.state.MaxSweeps, c.maxSweeps);
    EXPECT_EQ(r.state.PrintSweeps, c.printSweeps);
    EXPECT_EQ(r.state.LearningRate, c.rate);
    EXPECT_EQ(r.state.MinSSE, c.minSSE);
  }
}

// The boxes are read in order (sweeps, stopping method, rate, printouts, minimum error) and
// the first fault ends the reading, storing nothing read after it: a refusal resets its own
// box; a text that is no number, or too large, fails with the classic run-time error quoting
// it. The batch test pins each refusal's text; here its title tells which one came.
TEST(ReadTrainingParameters, StopsAtTheFirstBadBox) {
  const auto fields = [](const ParameterBoxes& b) {
    return std::tie(b.MaxSweepsChecked, b.MinSSEChecked, b.SweepsBox, b.LRateBox);
  };
  const struct {
    ParameterBoxes boxes, after;  // after: the boxes a refusal leaves
    const char* said;             // a refusal's title, or the text a failure quotes
    int code;                     // a failure's code; 0 for a refusal
    double rate;
  } cases[] = {
      {{true, false, "0"}, {true, false, "1"}, "Maximum Epochs", 0, 7},
      {{true, false, "0.4"}, {true, false, "1"}, "Maximum Epochs", 0, 7},  // would never be reached
      {{true, false, "-1", "-1"}, {true, false, "1", "-1"}, "Maximum Epochs", 0, 7},
      {{false, false, "0"}, {true, true, "0"}, "No stopping method set", 0, 7},
      {{true, false, "100", "-0.5"}, {true, false, "100", "0.10"}, "Learning Rate", 0, 0.1},
      {{false, false, "1e"}, {}, "1e", 13, 7},  // converted before the stopping check
      {{true, false, "100", "0.10", "10", "0,5"}, {}, "0,5", 13, 0.1},
      {{true, false, "100", "1e-400", " "}, {}, " ", 13, 0.0},  // too small a rate is zero
      {{true, false, "2147483648"}, {}, "2147483648", kOverflowCode, 0.1},
      {{true, false, "100", "1e400"}, {}, "1e400", kOverflowCode, 7},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.said);
    const Reading r = Read(c.boxes);
    EXPECT_FALSE(r.outcome.Accepted);
    if (c.code == 0) {
      ASSERT_TRUE(r.outcome.Refusal);
      EXPECT_EQ(r.outcome.Refusal->Title, c.said);
      EXPECT_EQ(fields(r.boxes), fields(c.after));
    } else {
      ASSERT_TRUE(r.outcome.Failure);
      EXPECT_EQ(r.outcome.Failure->Code, c.code);
      EXPECT_NE(r.outcome.Failure->Description.find(std::string("\"") + c.said + "\""),
                std::string::npos);
    }
    EXPECT_EQ(r.state.StopAtMaxSweeps, c.boxes.MaxSweepsChecked ? 1 : 0);  // stored first
    EXPECT_EQ(r.state.LearningRate, c.rate);
  }
}

}  // namespace
}  // namespace corvel
