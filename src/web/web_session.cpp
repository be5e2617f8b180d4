#include "web/web_session.h"

#include <algorithm>
#include <chrono>

#include "learning/engine.h"
#include "report/failure_text.h"
#include "report/probe_text.h"
#include "report/progress_text.h"
#include "report/report_time.h"
#include "report/sse_history.h"
#include "trainingset/loader.h"

namespace corvel::web {
namespace {

std::string FailureText(const RunFailure& failure) {
  return FailureReportText(failure.Code, failure.Description);
}

std::string OutOfMemoryText() { return FailureText({kOutOfMemoryCode, "Out of memory"}); }

}  // namespace

WebSession::WebSession() = default;
WebSession::~WebSession() = default;

LoadOutcome WebSession::LoadTrainingFile(const std::string& bytes, const std::string& fileName) {
  if (Training()) return {false, "A training file cannot be loaded while the memory trains."};
  if (const auto error = LoadTrainingText(s_, bytes, fileName)) return {false, error->message};
  s_.TrainingFileName = fileName;
  return {true, {}};
}

std::string WebSession::MakeNetwork() {
  if (Training()) return {};
  s_.NewRun = 1;
  return s_.TryAllocateNetwork() ? std::string() : OutOfMemoryText();
}

StartOutcome WebSession::StartTraining(const std::string& rule, const ParameterBoxes& boxes) {
  if (Training()) return {};
  s_.NewRun = 1;
  return Start(rule, boxes);
}

StartOutcome WebSession::ContinueTraining(const std::string& rule, const ParameterBoxes& boxes) {
  if (Training()) return {};
  s_.NewRun = 0;
  return Start(rule, boxes);
}

// The set-up page's handlers from the point where they part: the weights are cleared for a
// new run, the boxes read, and the run started.
StartOutcome WebSession::Start(const std::string& rule, const ParameterBoxes& boxes) {
  StartOutcome outcome;
  outcome.Boxes = boxes;
  if (!s_.NetworkFitsTrainingSet()) {  // the arrays could not be made when they were asked for
    outcome.FailureText = OutOfMemoryText();
    return outcome;
  }
  if (s_.NewRun == 1) ClearConnections(s_);
  s_.LearningRule = rule;
  const ParameterOutcome read = ReadTrainingParameters(s_, outcome.Boxes);
  if (read.Failure) outcome.FailureText = FailureText(*read.Failure);
  if (read.Refusal) {
    outcome.RefusalText = read.Refusal->Text;
    outcome.RefusalTitle = read.Refusal->Title;
  }
  if (!read.Accepted) return outcome;

  observer_ = SliceObserver{};
  run_ = std::make_unique<TrainingRun>(s_, observer_);
  outcome.Started = true;
  if (s_.NewRun == 1) outcome.TrainingLine = TrainingFileText(s_.TrainingFileName);
  if (s_.StopAtMaxSweeps == 1) {
    // The sweeps still to come: all of MaxSweeps for a new run, the further ones otherwise.
    outcome.ProgressMaximum =
        std::max(s_.NewRun == 1 ? s_.MaxSweeps : s_.MaxSweeps - s_.SweepCount, 0);
  }
  return outcome;
}

RunStatus WebSession::Advance(double milliseconds) {
  if (!run_) return {};
  using Clock = std::chrono::steady_clock;
  const auto until = Clock::now() + std::chrono::duration<double, std::milli>(milliseconds);
  // Small sweeps take microseconds: the clock is read after batches of sweeps that grow
  // while a batch takes less than a millisecond.
  std::int64_t batch = 1;
  for (;;) {
    const auto started = Clock::now();
    if (run_->Advance(batch)) break;
    const auto now = Clock::now();
    if (now >= until) break;
    if (now - started < std::chrono::milliseconds(1)) batch *= 2;
  }
  return Status();
}

RunStatus WebSession::Stop() {
  if (!run_) return {};
  run_->Stop();
  return Status();
}

// What the slices since the last status made of the run, which ends here if it has ended.
RunStatus WebSession::Status() {
  RunStatus status;
  status.Running = !run_->Ended();
  status.SweepsThisRun = observer_.sweepsThisRun;
  if (observer_.printed) {
    status.HasPrintout = true;
    status.Printout = Texts(observer_.printout);
    observer_.printed = false;
  }
  if (observer_.ended) {
    status.HasEnd = true;
    status.End = Texts(observer_.end);
  }
  if (run_->Failure()) status.FailureText = FailureText(*run_->Failure());
  if (run_->Ended()) run_.reset();
  return status;
}

ProgressTexts WebSession::Texts(const TrainingProgress& progress) const {
  ProgressTexts texts;
  texts.SweepCount = progress.SweepCount;
  texts.Epochs = EpochsText(progress.SweepCount);
  texts.TotalSSE = TotalSSEText(progress.TotalSSE, rs_);
  if (progress.ChangeValid) texts.Change = SSEChangeText(progress.SSEChange, rs_);
  texts.ErrorRose = progress.ChangeValid && progress.SSEChange < 0;
  // Green only when the error target was met, whether or not that rule was in force.
  texts.TargetMet = progress.TotalSSE < s_.MinSSE;
  return texts;
}

std::string WebSession::ProbeBlock(const std::string& patternText) {
  if (!NetworkReadable()) return {};
  const auto pattern = PatternNumber(patternText, s_.NumPatterns);
  if (!pattern) return {};
  return corvel::ProbeBlock(s_, *pattern, patternText, rs_);
}

std::string WebSession::ReportText(double instant, const ReportSections& sections) {
  if (!NetworkReadable()) return {};
  const LocalDateTime when = LocalDateTimeAt(static_cast<std::time_t>(instant));
  return ResultsReportText(s_, sections, when, rs_);
}

std::vector<double> WebSession::SSEHistory() const {
  std::vector<double> rows;
  for (const SSEPoint& point : SSEHistoryPoints(s_))
    rows.insert(rows.end(), {point.Sweep, point.SSE});
  return rows;
}

std::vector<double> WebSession::Responses() const {
  if (!NetworkReadable()) return {};
  return NetInputs(s_);
}

std::vector<double> WebSession::Errors() const {
  std::vector<double> errors = Responses();
  const auto outputs = static_cast<std::size_t>(s_.NumOutputUnits);
  for (std::size_t k = 0; k < errors.size(); ++k) {
    const int p = static_cast<int>(k / outputs) + 1, j = static_cast<int>(k % outputs) + 1;
    // As ComputeResponse: Error = desired - Activation.
    errors[k] = s_.DesiredOutputs(j, p) - errors[k];
  }
  return errors;
}

std::vector<double> WebSession::Weights() const {
  if (!NetworkReadable()) return {};
  std::vector<double> weights;
  weights.reserve(static_cast<std::size_t>(s_.NumInputUnits) *
                  static_cast<std::size_t>(s_.NumOutputUnits));
  for (int i = 1; i <= s_.NumInputUnits; ++i) {
    const double* row = &s_.Connections.Weight(0, i);
    weights.insert(weights.end(), row + 1, row + 1 + s_.NumOutputUnits);
  }
  return weights;
}

}  // namespace corvel::web
