// RunTraining: the sweep loop, the SSE history, the stopping rules and the observer calls,
// over the fast sweeps of SweepWorkspace.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <new>
#include <optional>
#include <vector>

#include "learning/engine.h"
#include "learning/sweep_workspace.h"
#include "state/memory_budget.h"

namespace corvel {
namespace {

RunFailure Overflow() { return RunFailure{kOverflowCode, "Overflow"}; }
RunFailure OutOfMemory() { return RunFailure{kOutOfMemoryCode, "Out of memory"}; }
RunFailure OutOfRange() { return RunFailure{kSubscriptCode, "Subscript out of range"}; }

// A workspace this small cannot run the system out of memory; asking the system what is
// free would cost more than a short run.
constexpr std::size_t kSmallWorkspaceBytes = std::size_t{16} << 20;

bool CountInRange(std::int32_t n) { return n >= 0 && n <= kMaxCount; }

// Every array of the run must have the bounds its count gives it.
bool ShapesMatch(const PublicStuff& s) {
  const auto units = [](const std::vector<UnitRecord>& v, std::int32_t n) {
    return v.size() == static_cast<std::size_t>(n) + 1;
  };
  const auto table = [](const Array2D<double>& a, std::int32_t upperA, std::int32_t upperB) {
    return a.upperA() == upperA && a.upperB() == upperB;
  };
  const int in = s.NumInputUnits, out = s.NumOutputUnits, pat = s.NumPatterns;
  return units(s.InputUnits, in) && units(s.OutputUnits, out) &&
         table(s.Connections.Weight, out, in) && table(s.Connections.WeightChange, out, in) &&
         table(s.InputPatterns, in, pat) && table(s.DesiredOutputs, out, pat);
}

// Adds the pattern SSEs of a pass to `sum` in pattern order, as the run loop does. Returns
// the index of the pattern whose addition overflowed or was invalid; `sum` then holds the
// total of the patterns before it.
std::optional<int> AddPatternSSEs(const std::vector<double>& sse, double& sum) {
  for (std::size_t p = 0; p < sse.size(); ++p) {
    const double next = sum + sse[p];
    if (!std::isfinite(next)) return static_cast<int>(p);
    sum = next;
  }
  return std::nullopt;
}

// A run failed at `pattern` (counted from 0): the weights go back as the sweep left them and
// the units show that pattern's response to them.
RunFailure FailAt(PublicStuff& s, detail::SweepWorkspace& ws, int pattern) {
  ws.WriteBack();
  ComputeResponse(s, pattern + 1);
  return Overflow();
}

}  // namespace

namespace detail {

int AutomaticWorkers(int numInputs, int numOutputs, int numPatterns, const KernelSet& kernels) {
#if CORVEL_SWEEP_THREADS
  return ChooseWorkers(numInputs, numOutputs, numPatterns,
                       SweepWorkspace::BlockCount(numInputs, numOutputs, kernels));
#else
  (void)numInputs, (void)numOutputs, (void)numPatterns, (void)kernels;
  return 1;
#endif
}

std::optional<RunFailure> RunTrainingWith(PublicStuff& s, TrainingObserver& observer,
                                          const KernelSet& kernels, int workers) {
  if (!CountInRange(s.NumInputUnits) || !CountInRange(s.NumOutputUnits) ||
      !CountInRange(s.NumPatterns))
    return Overflow();
  if (!ShapesMatch(s)) return OutOfRange();
  if (workers <= 0)
    workers = AutomaticWorkers(s.NumInputUnits, s.NumOutputUnits, s.NumPatterns, kernels);
  const std::size_t bytes = SweepWorkspace::BytesNeeded(s.NumInputUnits, s.NumOutputUnits,
                                                        s.NumPatterns, kernels, workers);
  const bool grows = bytes > s.EngineScratch.size() * sizeof(double);
  if (grows && bytes > kSmallWorkspaceBytes && !CanAllocate(bytes)) return OutOfMemory();
  std::optional<SweepWorkspace> ws;
  try {
    ws.emplace(s, kernels, workers);
  } catch (const std::bad_alloc&) {
    return OutOfMemory();
  }

  observer.RunStarted(RunStart{s.NewRun == 1, s.StopAtMaxSweeps == 1});
  const bool newRun = s.NewRun == 1;
  if (newRun) s.SweepCount = 0;
  std::int32_t sweepsSincePrintout = 0;
  double previousSSE = newRun ? 0.0 : s.TotalSSE;
  double sseChange = 0.0;

  if (s.SweepCount == 0) {
    s.SSEHistoryCount = 1;
    s.SSEHistory[1][1] = 0.0;
    s.SSEHistory[1][2] = 0.0;
    ws->RespondToAll();
    if (const auto failed = AddPatternSSEs(ws->PatternSSEs(), s.SSEHistory[1][2]))
      return FailAt(s, *ws, *failed);
  }

  bool runDone = false;
  while (!runDone) {
    if (s.SweepCount == std::numeric_limits<std::int32_t>::max()) {
      ws->WriteBack();
      return Overflow();
    }
    ++s.SweepCount;
    ++sweepsSincePrintout;
    observer.SweepStarted(s.SweepCount);
    s.TotalSSE = 0.0;
    ws->Sweep();
    if (const auto failed = AddPatternSSEs(ws->PatternSSEs(), s.TotalSSE))
      return FailAt(s, *ws, *failed);

    const bool changeValid = s.SweepCount != 1;
    if (changeValid) sseChange = previousSSE - s.TotalSSE;
    previousSSE = s.TotalSSE;

    if (sweepsSincePrintout == s.PrintSweeps) {
      sweepsSincePrintout = 0;
      observer.Printout(TrainingProgress{s.SweepCount, s.TotalSSE, sseChange, changeValid});
      if (s.SSEHistoryCount < kSSEHistoryRows) {
        ++s.SSEHistoryCount;
        s.SSEHistory[s.SSEHistoryCount][1] = static_cast<double>(s.SweepCount);
        s.SSEHistory[s.SSEHistoryCount][2] = s.TotalSSE;
      }
    }
    if (s.StopAtMaxSweeps == 1 && s.SweepCount == s.MaxSweeps) runDone = true;
    if (s.StopAtMinSSE == 1 && s.TotalSSE < s.MinSSE) runDone = true;
    if (observer.StopRequested()) runDone = true;
  }
  ws->WriteBack();
  observer.RunEnded(TrainingProgress{s.SweepCount, s.TotalSSE, sseChange, s.SweepCount > 1});
  return std::nullopt;
}

}  // namespace detail

std::optional<RunFailure> RunTraining(PublicStuff& s, TrainingObserver& observer, int workers) {
  return detail::RunTrainingWith(s, observer, detail::BestKernelSet(), workers);
}

std::size_t RunWorkspaceBytes(std::int32_t numInputs, std::int32_t numOutputs,
                              std::int32_t numPatterns) {
  std::size_t most = 0;
  for (const detail::KernelSet* kernels : detail::SupportedKernelSets()) {
    const int workers = detail::AutomaticWorkers(numInputs, numOutputs, numPatterns, *kernels);
    most = std::max(most, detail::SweepWorkspace::BytesNeeded(numInputs, numOutputs, numPatterns,
                                                              *kernels, workers));
  }
  // The workspace also keeps one SSE per pattern beside its scratch.
  return most + static_cast<std::size_t>(numPatterns) * sizeof(double);
}

}  // namespace corvel
