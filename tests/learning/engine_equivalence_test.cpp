// The fast sweeps against the engine's loops written out plainly: same weights, changes,
// SSE history, total SSE and unit records, bit for bit, for every vector width this
// processor has, on sizes that leave partly filled blocks and pattern groups.

#include <gtest/gtest.h>

#include <bit>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "learning/sweep_workspace.h"
#include "make_state.h"

namespace corvel {
namespace {

struct Shape {
  int in, out, pat;
};

// Random values in [-1, 1], with some exact zeros of both signs.
PublicStuff RandomState(const Shape& shape, const std::string& rule, double rate, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> value(-1.0, 1.0);
  std::vector<std::vector<double>> rows(shape.pat);
  for (std::vector<double>& row : rows) {
    for (int k = 0; k < shape.in + shape.out; ++k) {
      const double v = value(rng);
      row.push_back(std::fabs(v) < 0.1 ? std::copysign(0.0, v) : v);
    }
  }
  return MakeState(shape.in, shape.out, rows, rule, rate, 0);
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
  for (double d : v) bits.push_back(std::bit_cast<std::uint64_t>(d));
  return bits;
}

using Param = std::tuple<const detail::KernelSet*, std::string, Shape>;
class FastSweepsEqualReference : public testing::TestWithParam<Param> {};
class FastSweepsFailLikeReference : public testing::TestWithParam<Param> {};

TEST_P(FastSweepsEqualReference, NewThenContinuedRun) {
  const auto& [kernels, rule, shape] = GetParam();
  PublicStuff fast = RandomState(shape, rule, 1.0 / (shape.in + 1), 7u * shape.in + shape.out);
  PublicStuff slow = fast;
  TrainingObserver quiet;
  for (auto [newRun, maxSweeps] : {std::pair{1, 5}, std::pair{0, 8}}) {
    for (PublicStuff* s : {&fast, &slow}) {
      s->NewRun = static_cast<std::int16_t>(newRun);
      s->MaxSweeps = maxSweeps;
      s->PrintSweeps = 2;
    }
    ASSERT_FALSE(detail::RunTrainingWith(fast, quiet, *kernels));
    ASSERT_TRUE(ReferenceRun(slow));
    EXPECT_EQ(Results(fast), Results(slow)) << "run " << newRun;
  }
}

// A run that overflows ends at the same sweep with the same total and history.
TEST_P(FastSweepsFailLikeReference, OverflowEndsAtTheSamePoint) {
  const auto& [kernels, rule, shape] = GetParam();
  PublicStuff fast = RandomState(shape, rule, 1e3 * shape.in, 11u * shape.out + shape.pat);
  // The last pattern's response overflows after its first step, under either rule.
  fast.InputPatterns(1, shape.pat) = 1e200;
  fast.DesiredOutputs(1, shape.pat) = 1.0;
  fast.MaxSweeps = 2000;
  PublicStuff slow = fast;
  TrainingObserver quiet;
  const auto failure = detail::RunTrainingWith(fast, quiet, *kernels);
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->Code, kOverflowCode);
  EXPECT_FALSE(ReferenceRun(slow));
  EXPECT_EQ(Results(fast, false), Results(slow, false));
}

std::string ParamName(const testing::TestParamInfo<Param>& info) {
  const auto& [kernels, rule, shape] = info.param;
  std::string name = std::string(kernels->name) + "_" + rule + "_" + std::to_string(shape.in) +
                     "x" + std::to_string(shape.out) + "x" + std::to_string(shape.pat);
  std::erase_if(name,
                [](char c) { return !std::isalnum(static_cast<unsigned char>(c)) && c != '_'; });
  return name;
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
INSTANTIATE_TEST_SUITE_P(Shapes, FastSweepsEqualReference, Params(kShapes), ParamName);
INSTANTIATE_TEST_SUITE_P(EmptyShapes, FastSweepsEqualReference, Params(kEmptyShapes), ParamName);
INSTANTIATE_TEST_SUITE_P(Shapes, FastSweepsFailLikeReference, Params(kShapes), ParamName);

}  // namespace
}  // namespace corvel
