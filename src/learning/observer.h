#pragma once
// How a training run tells its caller where it stands. The set-up page repaints its progress
// boxes from these calls, the batch program prints lines, and tests record them. Every method
// has an empty default, so an observer overrides only what it shows.

#include <cstdint>

namespace corvel {

// What the progress boxes show at a printout sweep or at the end of a run.
struct TrainingProgress {
  std::int32_t SweepCount = 0;
  double TotalSSE = 0.0;
  double SSEChange = 0.0;    // previous total SSE minus this one; positive when the error fell
  bool ChangeValid = false;  // false at sweep 1, where no change is computed
};

struct RunStart {
  bool NewRun = false;           // the run starts from scratch (write the "Training:" line)
  bool StopAtMaxSweeps = false;  // the sweep progress bar is in use
};

class TrainingObserver {
 public:
  virtual ~TrainingObserver() = default;

  // Before the first sweep: show the boxes, prepare the progress bar, write the file line.
  virtual void RunStarted(const RunStart&) {}
  // At the start of every sweep, after SweepCount went up (advances the progress bar).
  virtual void SweepStarted(std::int32_t /*sweepCount*/) {}
  // At every printout sweep, before Printout: true when the state's weights should hold the
  // run's current weights for it (a page that draws them as the run goes on). The weights are
  // not kept there while a run trains, so each true costs a copy of them: answer true only
  // when they will be looked at.
  virtual bool WantsCurrentWeights() { return false; }
  // At every printout sweep.
  virtual void Printout(const TrainingProgress&) {}
  // After the last sweep of a run that ended by a stopping rule or by a stop request.
  virtual void RunEnded(const TrainingProgress&) {}
  // Asked once after every sweep; true ends the run as if a stopping rule had fired.
  virtual bool StopRequested() { return false; }
};

}  // namespace corvel
