// TrainingRun and RunTraining: the sweep loop, the SSE history, the stopping rules and the
// observer calls, over the fast sweeps of SweepWorkspace.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <new>
#include <optional>
#include <utility>
#include <vector>

#include "learning/engine.h"
#include "learning/sweep_workspace.h"
#include "learning/training_run.h"
#include "state/memory_budget.h"

namespace corvel {
namespace {

RunFailure Overflow() { return RunFailure{kOverflowCode, "Overflow"}; }
RunFailure OutOfMemory() { return RunFailure{kOutOfMemoryCode, "Out of memory"}; }
RunFailure OutOfRange() { return RunFailure{kSubscriptCode, "Subscript out of range"}; }

// A workspace this small cannot run the system out of memory; asking the system what is
// free would cost more than a short run.
constexpr std::uint64_t kSmallWorkspaceBytes = std::uint64_t{16} << 20;

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
  TrainingRun run(s, observer, kernels, workers);
  run.Advance(std::numeric_limits<std::int64_t>::max());
  return run.Failure();
}

}  // namespace detail

TrainingRun::TrainingRun(PublicStuff& s, TrainingObserver& observer, int workers)
    : TrainingRun(s, observer, detail::BestKernelSet(), workers) {}

TrainingRun::TrainingRun(PublicStuff& s, TrainingObserver& observer,
                         const detail::KernelSet& kernels, int workers)
    : s_(s), observer_(observer) {
  using detail::SweepWorkspace;
  if (!CountInRange(s.NumInputUnits) || !CountInRange(s.NumOutputUnits) ||
      !CountInRange(s.NumPatterns)) {
    Fail(Overflow());
    return;
  }
  if (!ShapesMatch(s)) {
    Fail(OutOfRange());
    return;
  }
  if (workers <= 0)
    workers = detail::AutomaticWorkers(s.NumInputUnits, s.NumOutputUnits, s.NumPatterns, kernels);
  const std::uint64_t bytes = SweepWorkspace::BytesNeeded(s.NumInputUnits, s.NumOutputUnits,
                                                          s.NumPatterns, kernels, workers);
  const bool grows = bytes > static_cast<std::uint64_t>(s.EngineScratch.size()) * sizeof(double);
  try {
    if (grows && bytes > kSmallWorkspaceBytes && !CanAllocate(bytes)) throw std::bad_alloc();
    ws_ = std::make_unique<SweepWorkspace>(s, kernels, workers);
  } catch (const std::bad_alloc&) {
    Fail(OutOfMemory());
    return;
  }

  observer.RunStarted(RunStart{s.NewRun == 1, s.StopAtMaxSweeps == 1});
  const bool newRun = s.NewRun == 1;
  if (newRun) s.SweepCount = 0;
  previousSSE_ = newRun ? 0.0 : s.TotalSSE;

  if (s.SweepCount == 0) {
    s.SSEHistoryCount = 1;
    s.SSEHistory[1][1] = 0.0;
    s.SSEHistory[1][2] = 0.0;
    ws_->RespondToAll();
    if (const auto failed = AddPatternSSEs(ws_->PatternSSEs(), s.SSEHistory[1][2]))
      Fail(FailAt(s, *ws_, *failed));
  }
}

TrainingRun::~TrainingRun() = default;

bool TrainingRun::Advance(std::int64_t sweeps) {
  for (; sweeps > 0 && !ended_; --sweeps) Sweep();
  return ended_;
}

void TrainingRun::Stop() {
  if (ended_) return;
  if (sweepsMade_ == 0) Sweep();
  if (!ended_) Finish();
}

void TrainingRun::Sweep() {
  PublicStuff& s = s_;
  if (s.SweepCount == std::numeric_limits<std::int32_t>::max()) {
    ws_->WriteBack();
    return Fail(Overflow());
  }
  ++s.SweepCount;
  ++sweepsSincePrintout_;
  ++sweepsMade_;
  observer_.SweepStarted(s.SweepCount);
  s.TotalSSE = 0.0;
  ws_->Sweep();
  if (const auto failed = AddPatternSSEs(ws_->PatternSSEs(), s.TotalSSE))
    return Fail(FailAt(s, *ws_, *failed));

  const bool changeValid = s.SweepCount != 1;
  if (changeValid) sseChange_ = previousSSE_ - s.TotalSSE;
  previousSSE_ = s.TotalSSE;

  if (sweepsSincePrintout_ == s.PrintSweeps) {
    sweepsSincePrintout_ = 0;
    if (observer_.WantsCurrentWeights()) ws_->PublishWeights();
    observer_.Printout(TrainingProgress{s.SweepCount, s.TotalSSE, sseChange_, changeValid});
    if (s.SSEHistoryCount < kSSEHistoryRows) {
      ++s.SSEHistoryCount;
      s.SSEHistory[s.SSEHistoryCount][1] = static_cast<double>(s.SweepCount);
      s.SSEHistory[s.SSEHistoryCount][2] = s.TotalSSE;
    }
  }
  bool runDone = false;
  if (s.StopAtMaxSweeps == 1 && s.SweepCount == s.MaxSweeps) runDone = true;
  if (s.StopAtMinSSE == 1 && s.TotalSSE < s.MinSSE) runDone = true;
  if (observer_.StopRequested()) runDone = true;
  if (runDone) Finish();
}

void TrainingRun::Finish() {
  ws_->WriteBack();
  ended_ = true;
  observer_.RunEnded(TrainingProgress{s_.SweepCount, s_.TotalSSE, sseChange_, s_.SweepCount > 1});
}

void TrainingRun::Fail(RunFailure failure) {
  failure_ = std::move(failure);
  ended_ = true;
}

std::optional<RunFailure> RunTraining(PublicStuff& s, TrainingObserver& observer, int workers) {
  return detail::RunTrainingWith(s, observer, detail::BestKernelSet(), workers);
}

std::uint64_t RunWorkspaceBytes(std::int32_t numInputs, std::int32_t numOutputs,
                                std::int32_t numPatterns) {
  std::uint64_t most = 0;
  for (const detail::KernelSet* kernels : detail::SupportedKernelSets()) {
    const int workers = detail::AutomaticWorkers(numInputs, numOutputs, numPatterns, *kernels);
    most = std::max(most, detail::SweepWorkspace::BytesNeeded(numInputs, numOutputs, numPatterns,
                                                              *kernels, workers));
  }
  // The workspace also keeps one SSE per pattern beside its scratch.
  return most + static_cast<std::uint64_t>(numPatterns) * sizeof(double);
}

}  // namespace corvel
