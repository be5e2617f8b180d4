#include "pages/setup/paced_progress.h"

#include <utility>

namespace corvel {

PacedProgressObserver::PacedProgressObserver(ProgressView& view, std::chrono::nanoseconds frame,
                                             Clock clock)
    : view_(view), frame_(frame), clock_(std::move(clock)) {}

void PacedProgressObserver::RunStarted(const RunStart& start) {
  barInUse_ = start.StopAtMaxSweeps;
  stopRequested_ = false;
  sweepsThisRun_ = 0;
  sweepsShown_ = 0;
  pending_.reset();
  weightsDue_ = weightsPublished_ = false;
  stride_ = untilClockRead_ = 1;
  view_.ShowRunStart(start);
  lastClockRead_ = clock_();
  nextFrame_ = lastClockRead_ + frame_;
}

void PacedProgressObserver::SweepStarted(std::int32_t) { ++sweepsThisRun_; }

void PacedProgressObserver::Printout(const TrainingProgress& progress) { pending_ = progress; }

bool PacedProgressObserver::WantsCurrentWeights() {
  if (!weightsDue_) return false;
  weightsDue_ = false;
  weightsPublished_ = true;
  return true;
}

bool PacedProgressObserver::StopRequested() {
  // Asked once per sweep. Reading the clock can cost more than a small sweep, so it is read
  // only every stride_ sweeps, the stride adapted to keep a few reads per frame.
  if (--untilClockRead_ > 0) return stopRequested_;
  const auto now = clock_();
  const auto sinceRead = now - lastClockRead_;
  lastClockRead_ = now;
  if (sinceRead < frame_ / 16 && stride_ < kMaxStride) stride_ *= 2;
  if (sinceRead > frame_ / 4 && stride_ > 1) stride_ /= 2;
  untilClockRead_ = stride_;
  if (now >= nextFrame_) {
    weightsDue_ = live_.wanted && live_.wanted();
    Flush();
    view_.ProcessEvents();
    nextFrame_ = clock_() + frame_;
  }
  return stopRequested_;
}

void PacedProgressObserver::Flush() {
  if (pending_) {
    view_.ShowPrintout(*pending_);
    pending_.reset();
  }
  if (weightsPublished_) {
    weightsPublished_ = false;
    live_.published();
  }
  if (barInUse_ && sweepsShown_ != sweepsThisRun_) {
    view_.ShowSweepsThisRun(sweepsThisRun_);
    sweepsShown_ = sweepsThisRun_;
  }
}

void PacedProgressObserver::RunEnded(const TrainingProgress& progress) {
  pending_.reset();  // the end display rewrites every box the printout would have written
  Flush();
  view_.ShowRunEnd(progress);
}

}  // namespace corvel
