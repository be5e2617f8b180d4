#pragma once
// The set-up page's side of a training run. The engine may report a printout at every sweep,
// far more often than a screen can show; this observer keeps only the latest printout and
// passes it on at most once per screen frame, together with the progress bar's count, and lets
// the window repaint and take a stop request at the same moments. The last printout (on
// failure) and the end of the run are always shown exactly.

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>

#include "learning/observer.h"

namespace corvel {

// What the page shows; the page implements it over its progress boxes and progress bar.
class ProgressView {
 public:
  virtual ~ProgressView() = default;
  // Show the boxes, prepare the bar when it is in use, write the file line of a new run.
  virtual void ShowRunStart(const RunStart& start) = 0;
  // The bar's value: the number of sweeps begun in this run.
  virtual void ShowSweepsThisRun(std::int32_t sweeps) = 0;
  virtual void ShowPrintout(const TrainingProgress& progress) = 0;
  virtual void ShowRunEnd(const TrainingProgress& progress) = 0;
  // Let the window repaint and handle the input it accepts during a run (Stop, Esc).
  virtual void ProcessEvents() = 0;
};

// A view of the weights that follows a run (the weights page): asked once a frame whether it
// is ready for newer weights, and told once they are in the state.
struct LiveWeights {
  std::function<bool()> wanted;
  std::function<void()> published;
};

class PacedProgressObserver final : public TrainingObserver {
 public:
  using Clock = std::function<std::chrono::steady_clock::time_point()>;

  // `frame` is the shortest time between two updates of the view.
  PacedProgressObserver(ProgressView& view, std::chrono::nanoseconds frame,
                        Clock clock = std::chrono::steady_clock::now);

  // Has the run copy its weights out at most once a frame, at a printout after a frame in
  // which `live` wanted them, and tells it at the next frame.
  void FollowWeights(LiveWeights live) { live_ = std::move(live); }

  void RunStarted(const RunStart& start) override;
  void SweepStarted(std::int32_t sweepCount) override;
  bool WantsCurrentWeights() override;
  void Printout(const TrainingProgress& progress) override;
  void RunEnded(const TrainingProgress& progress) override;
  bool StopRequested() override;

  // Ends the run after the current sweep, as if a stopping rule had fired.
  void RequestStop() { stopRequested_ = true; }
  // Shows what is still held back: the latest printout and the bar's count. Called when a run
  // fails, so the page keeps the last values the run reached.
  void Flush();

 private:
  ProgressView& view_;
  std::chrono::nanoseconds frame_;
  Clock clock_;
  std::chrono::steady_clock::time_point nextFrame_{};
  std::chrono::steady_clock::time_point lastClockRead_{};
  static constexpr std::int32_t kMaxStride = 4096;
  std::int32_t stride_ = 1;  // sweeps between two clock reads
  std::int32_t untilClockRead_ = 1;
  std::optional<TrainingProgress> pending_;
  bool barInUse_ = false;
  std::int32_t sweepsThisRun_ = 0;
  std::int32_t sweepsShown_ = 0;
  bool stopRequested_ = false;
  LiveWeights live_;
  bool weightsDue_ = false;        // the next printout copies the weights out
  bool weightsPublished_ = false;  // and they are waiting to be told
};

}  // namespace corvel
