#pragma once
// A training run driven a few sweeps at a time, for a caller that must get back to its own
// loop between sweeps: a browser page's worker hears of a press of Stop only between two
// calls. RunTraining (engine.h) is such a run driven to its end in one call; the weights,
// counts, history and observer calls are the same however the sweeps are split.

#include <cstdint>
#include <memory>
#include <optional>

#include "learning/engine.h"

namespace corvel {

namespace detail {
struct KernelSet;
class SweepWorkspace;
}  // namespace detail

class TrainingRun {
 public:
  // Starts a run as RunTraining does: checks the counts and the arrays, makes the workspace,
  // tells the observer the run started and records the sweep-0 row. A failure in any of that
  // ends the run before its first sweep (Ended() true, Failure() why).
  TrainingRun(PublicStuff& s, TrainingObserver& observer, int workers = 0);
  // The same on a chosen set of sweep loops (tests run every set the processor has).
  TrainingRun(PublicStuff& s, TrainingObserver& observer, const detail::KernelSet& kernels,
              int workers);
  // A run dropped before it ended leaves the weights as its last sweep made them.
  ~TrainingRun();
  TrainingRun(const TrainingRun&) = delete;
  TrainingRun& operator=(const TrainingRun&) = delete;

  // Makes up to `sweeps` more sweeps, fewer when a stopping rule, a stop request or a
  // failure ends the run; true once the run has ended.
  bool Advance(std::int64_t sweeps);

  // Ends the run now, as a stop request answered after the last sweep would have: the
  // weights go back into the state and RunEnded is called. A run that has made no sweep yet
  // makes one first, as a stop request is first asked after a sweep.
  void Stop();

  bool Ended() const { return ended_; }
  // Why the run failed, once it has; nothing for a run that ended normally.
  const std::optional<RunFailure>& Failure() const { return failure_; }

 private:
  void Sweep();
  void Finish();
  void Fail(RunFailure failure);

  PublicStuff& s_;
  TrainingObserver& observer_;
  std::unique_ptr<detail::SweepWorkspace> ws_;
  std::int32_t sweepsSincePrintout_ = 0;
  std::int32_t sweepsMade_ = 0;
  double previousSSE_ = 0.0;
  double sseChange_ = 0.0;
  bool ended_ = false;
  std::optional<RunFailure> failure_;
};

}  // namespace corvel
