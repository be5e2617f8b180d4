#pragma once
// Progress lines of a batch run: the texts the set-up page's progress boxes would show.

#include <cstdio>
#include <string>

#include "learning/observer.h"
#include "report/formats.h"

namespace corvel {

// Prints "Training: NAME" at the start of a new run, and at every printout sweep and at the
// end of each run one line with the texts of the epochs, total SSE and change boxes
// separated by TABs; the change is left out where its box stays empty.
class ProgressPrinter : public TrainingObserver {
 public:
  ProgressPrinter(std::FILE* out, std::string trainingFileName, RegionalSettings rs);

  void RunStarted(const RunStart& start) override;
  void Printout(const TrainingProgress& progress) override;
  void RunEnded(const TrainingProgress& progress) override;

 private:
  void PrintBoxes(const TrainingProgress& progress);

  std::FILE* out_;
  std::string trainingFileName_;
  RegionalSettings rs_;
};

}  // namespace corvel
