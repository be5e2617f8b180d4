#include "batch/batch_run.h"

#include <filesystem>
#include <optional>

#include "batch/progress_printer.h"
#include "learning/engine.h"
#include "learning/training_parameters.h"
#include "report/failure_text.h"
#include "report/network_csv.h"
#include "report/report_time.h"
#include "report/results_report.h"
#include "trainingset/loader.h"

namespace corvel {
namespace {

class Job {
 public:
  Job(const BatchOptions& options, const BatchEnvironment& env, std::FILE* out, std::FILE* err)
      : options_(options), env_(env), out_(out), err_(err) {}

  int Run();

 private:
  // Prints a one-line message on standard error and gives the bad-input status.
  int BadInput(const std::string& message);
  // Prints the failure report, a line break for each of its CRs.
  int RunFailed(const RunFailure& failure);
  // Reads the boxes as the page does and, when they pass, trains; the exit status of a
  // refusal or a failure, or nothing when the run ended normally.
  std::optional<int> Train(ParameterBoxes boxes, TrainingObserver& observer);
  // The bad-input status when the folder of a file to write is missing.
  std::optional<int> CheckDirectoryOf(const std::string& file);
  // Writes the files asked for after training; the bad-input status when one fails.
  std::optional<int> WriteFiles(std::optional<std::time_t> fixedTime);

  const BatchOptions& options_;
  const BatchEnvironment& env_;
  std::FILE* out_;
  std::FILE* err_;
  PublicStuff s_;
};

int Job::BadInput(const std::string& message) {
  std::fflush(out_);
  std::fputs((message + "\n").c_str(), err_);
  return kExitBadInput;
}

int Job::RunFailed(const RunFailure& failure) {
  std::string text = FailureReportText(failure.Code, failure.Description);
  for (char& c : text) {
    if (c == '\r') c = '\n';
  }
  if (text.back() != '\n') text += '\n';
  std::fflush(out_);
  std::fputs(text.c_str(), err_);
  return kExitRunFailed;
}

std::optional<int> Job::Train(ParameterBoxes boxes, TrainingObserver& observer) {
  const ParameterOutcome outcome = ReadTrainingParameters(s_, boxes);
  if (outcome.Refusal) return BadInput(outcome.Refusal->Text);
  if (outcome.Failure) return BadInput(outcome.Failure->Description);
  if (const auto failure = RunTraining(s_, observer, options_.Threads)) return RunFailed(*failure);
  return std::nullopt;
}

std::optional<int> Job::CheckDirectoryOf(const std::string& file) {
  const std::filesystem::path report(file);
  const std::filesystem::path dir = report.parent_path();
  std::error_code ec;
  if (dir.empty() || std::filesystem::is_directory(dir, ec)) return std::nullopt;
  const std::string why = std::filesystem::exists(dir, ec)
                              ? "\"" + dir.string() + "\" is not a directory"
                              : "directory \"" + dir.string() + "\" does not exist";
  return BadInput(FileWriteError{report.string(), why}.Message());
}

int Job::Run() {
  std::optional<std::time_t> fixedTime;
  if (env_.SourceDateEpoch) {
    fixedTime = ParseSourceDateEpoch(env_.SourceDateEpoch->c_str());
    if (!fixedTime) {
      return BadInput("SOURCE_DATE_EPOCH \"" + *env_.SourceDateEpoch +
                      "\" is not a whole number of seconds since 1970");
    }
  }

  const std::filesystem::path trainingFile(options_.TrainingFile);
  s_.TrainingFileName = trainingFile.filename().string();
  if (const auto error = LoadTrainingFile(s_, trainingFile)) return BadInput(error->message);
  if (!s_.TryAllocateNetwork()) return RunFailed(RunFailure{kOutOfMemoryCode, "Out of memory"});

  ProgressPrinter printer(out_, s_.TrainingFileName, env_.Regional);
  TrainingObserver silent;
  TrainingObserver& observer = options_.Quiet ? silent : printer;

  // "Start Training": a new run from cleared weights.
  s_.LearningRule = options_.LearningRule;
  s_.NewRun = 1;
  ClearConnections(s_);
  for (const auto& file : {options_.ReportFile, options_.WeightsCsvFile, options_.ResponsesCsvFile})
    if (file)
      if (const auto status = CheckDirectoryOf(*file)) return *status;
  if (const auto status = Train(options_.Boxes, observer)) return *status;

  // "Continue Training": the same boxes with a number of further sweeps.
  for (const std::string& sweeps : options_.ContinueSweeps) {
    s_.NewRun = 0;
    ParameterBoxes boxes = options_.Boxes;
    boxes.SweepsBox = sweeps;
    if (const auto status = Train(boxes, observer)) return *status;
  }
  std::fflush(out_);
  if (const auto status = WriteFiles(fixedTime)) return *status;
  return kExitDone;
}

std::optional<int> Job::WriteFiles(std::optional<std::time_t> fixedTime) {
  std::optional<FileWriteError> error;
  if (options_.ReportFile) {
    const LocalDateTime when = LocalDateTimeAt(fixedTime ? *fixedTime : std::time(nullptr));
    error = WriteResultsReport(s_, *options_.ReportFile, options_.Sections, when, env_.Regional);
  }
  if (!error && options_.WeightsCsvFile)
    error = ReplaceFileWith(*options_.WeightsCsvFile,
                            [this](const ByteSink& sink) { return WriteWeightsCsv(s_, sink); });
  if (!error && options_.ResponsesCsvFile)
    error = ReplaceFileWith(*options_.ResponsesCsvFile,
                            [this](const ByteSink& sink) { return WriteResponsesCsv(s_, sink); });
  if (error) return BadInput(error->Message());
  return std::nullopt;
}

}  // namespace

int RunBatch(const BatchOptions& options, const BatchEnvironment& env, std::FILE* out,
             std::FILE* err) {
  return Job(options, env, out, err).Run();
}

}  // namespace corvel
