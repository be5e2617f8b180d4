#include "batch/progress_printer.h"

#include <utility>

#include "report/progress_text.h"

namespace corvel {

ProgressPrinter::ProgressPrinter(std::FILE* out, std::string trainingFileName, RegionalSettings rs)
    : out_(out), trainingFileName_(std::move(trainingFileName)), rs_(std::move(rs)) {}

void ProgressPrinter::RunStarted(const RunStart& start) {
  if (!start.NewRun) return;
  std::fputs((TrainingFileText(trainingFileName_) + "\n").c_str(), out_);
}

void ProgressPrinter::Printout(const TrainingProgress& progress) { PrintBoxes(progress); }

void ProgressPrinter::RunEnded(const TrainingProgress& progress) { PrintBoxes(progress); }

void ProgressPrinter::PrintBoxes(const TrainingProgress& progress) {
  std::string line = EpochsText(progress.SweepCount) + "\t" + TotalSSEText(progress.TotalSSE, rs_);
  if (progress.ChangeValid) line += "\t" + SSEChangeText(progress.SSEChange, rs_);
  line += '\n';
  std::fputs(line.c_str(), out_);
}

}  // namespace corvel
