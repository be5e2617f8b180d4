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

#include "learning/engine.h"
#include "learning/sweep_workspace.h"

namespace corvel {
namespace {

struct Shape {
  int in, out, pat;
};

// Random values in [-1, 1], with some exact zeros of both signs.
PublicStuff RandomState(const Shape& shape, const std::string& rule, double rate, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> value(-1.0, 1.0);
  const auto next = [&] {
    const double v = value(rng);
    return std::fabs(v) < 0.1 ? std::copysign(0.0, v) : v;
  };
  PublicStuff s;
  s.NumInputUnits = shape.in;
  s.NumOutputUnits = shape.out;
  s.NumPatterns = shape.pat;
  s.InputPatterns = Array2D<double>(shape.in, shape.pat);
  s.DesiredOutputs = Array2D<double>(shape.out, shape.pat);
  for (int p = 1; p <= shape.pat; ++p) {
    for (int i = 1; i <= shape.in; ++i) s.InputPatterns(i, p) = next();
    for (int j = 1; j <= shape.out; ++j) s.DesiredOutputs(j, p) = next();
  }
  s.AllocateNetwork();
  s.LearningRule = rule;
  s.LearningRate = rate;
  s.StopAtMaxSweeps = 1;
  return s;
}

bool AllFinite(const PublicStuff& s) {
  const auto finite = [](double v) { return std::isfinite(v); };
  for (const UnitRecord& u : s.OutputUnits)
    if (!finite(u.NetInput) || !finite(u.Error)) return false;
  for (int i = 1; i <= s.NumInputUnits; ++i)
    for (int j = 1; j <= s.NumOutputUnits; ++j)
      if (!finite(s.Connections.Weight(j, i)) || !finite(s.Connections.WeightChange(j, i)))
        return false;
  return true;
}

// The run loop over the engine's plain routines, ending at the first routine that leaves an
// overflowed or invalid value, with no observer and no stop request.
bool ReferenceRun(PublicStuff& s) {
  const bool hebb = s.LearningRule == "Hebb";
  if (s.NewRun == 1) s.SweepCount = 0;
  std::int32_t sinceOut = 0;
  if (s.SweepCount == 0) {
    s.SSEHistoryCount = 1;
    s.SSEHistory[1] = {0.0, 0.0, 0.0};
    for (int p = 1; p <= s.NumPatterns; ++p) {
      ComputeResponse(s, p);
      const double sum = s.SSEHistory[1][2] + PatternSSE(s);
      if (!AllFinite(s) || !std::isfinite(sum)) return false;
      s.SSEHistory[1][2] = sum;
    }
  }
  do {
    ++s.SweepCount;
    ++sinceOut;
    s.TotalSSE = 0.0;
    for (int p = 1; p <= s.NumPatterns; ++p) {
      (hebb ? ApplyHebbRule : ApplyDeltaRule)(s, p);
      if (!AllFinite(s)) return false;
      ComputeResponse(s, p);
      const double sum = s.TotalSSE + PatternSSE(s);
      if (!AllFinite(s) || !std::isfinite(sum)) return false;
      s.TotalSSE = sum;
    }
    if (sinceOut == s.PrintSweeps) {
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

class FastSweepsFailLikeReference : public testing::TestWithParam<Param> {};

// A run that overflows ends at the same sweep with the same total and history.
TEST_P(FastSweepsFailLikeReference, OverflowEndsAtTheSamePoint) {
  const auto& [kernels, rule, shape] = GetParam();
  PublicStuff fast = RandomState(shape, rule, 1e3 * shape.in, 11u * shape.out + shape.pat);
  // The last pattern's response overflows after its first step, under either rule.
  fast.InputPatterns(1, shape.pat) = 1e200;
  fast.DesiredOutputs(1, shape.pat) = 1.0;
  fast.NewRun = 1;
  fast.MaxSweeps = 2000;
  fast.PrintSweeps = 1;
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
  for (char& c : name)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
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
