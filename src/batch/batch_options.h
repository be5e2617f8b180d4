#pragma once
// The command line of corvel-duvu-batch.

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "learning/training_parameters.h"
#include "report/results_report.h"

namespace corvel {

struct BatchOptions {
  std::string TrainingFile;
  std::string LearningRule = "Hebb";
  ParameterBoxes Boxes;                     // the set-up page's boxes, its defaults unless given
  std::vector<std::string> ContinueSweeps;  // the sweeps box of each "Continue Training" run
  std::optional<std::string> ReportFile;
  std::optional<std::string> WeightsCsvFile;
  std::optional<std::string> ResponsesCsvFile;
  ReportSections Sections = kDefaultReportSections;
  bool Quiet = false;
  int Threads = 0;  // 0: chosen for the size of the memory
  bool Help = false;
  bool Version = false;
};

// What is wrong with a command line, as one line that ends with the usage.
struct UsageError {
  std::string Message;
};

// Reads the arguments after the program name. An option's value is the next argument or
// follows "=" (--rate=0.5); the next argument is taken as the value even when it starts with
// "-", as the page takes "-1" typed into a box. "--" ends the options.
std::variant<BatchOptions, UsageError> ParseBatchOptions(const std::vector<std::string>& args);

// The text --help prints.
std::string BatchHelpText();

// The line --version prints: the program's name and version.
std::string BatchVersionText();

}  // namespace corvel
