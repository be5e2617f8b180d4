#pragma once
// One job of corvel-duvu-batch: load, train, continue, report.

#include <cstdio>
#include <optional>
#include <string>

#include "batch/batch_options.h"
#include "report/formats.h"

namespace corvel {

// What the job takes from its surroundings.
struct BatchEnvironment {
  std::optional<std::string> SourceDateEpoch;  // the variable's text when it is set
  RegionalSettings Regional;
};

// Exit statuses of the batch program.
constexpr int kExitDone = 0;
constexpr int kExitBadInput = 2;
constexpr int kExitRunFailed = 3;

// Loads the training file, makes the network afresh, runs what "Start Training" does with
// the options' boxes and then one "Continue Training" per --continue, and writes the report.
// Progress lines go to `out`; a failure is told on `err` and gives kExitBadInput (bad
// input: nothing is trained further and the report is not touched) or kExitRunFailed (a
// run failed: the failure report, no report file).
int RunBatch(const BatchOptions& options, const BatchEnvironment& env, std::FILE* out,
             std::FILE* err);

}  // namespace corvel
