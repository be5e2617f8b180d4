// corvel-duvu-batch: trains a distributed associative memory from the command line.

#include <cstdio>
#include <cstdlib>
#include <string>
#include <variant>
#include <vector>

#include "batch/batch_options.h"
#include "batch/batch_run.h"
#include "platform/regional_settings.h"

int main(int argc, char** argv) {
  using namespace corvel;
  const auto parsed = ParseBatchOptions(std::vector<std::string>(argv + 1, argv + argc));
  if (const auto* usage = std::get_if<UsageError>(&parsed)) {
    std::fprintf(stderr, "%s\n", usage->Message.c_str());
    return kExitBadInput;
  }
  const auto& options = std::get<BatchOptions>(parsed);
  if (options.Help) {
    std::fputs(BatchHelpText().c_str(), stdout);
    return kExitDone;
  }
  if (options.Version) {
    std::fputs(BatchVersionText().c_str(), stdout);
    return kExitDone;
  }
  BatchEnvironment env;
  if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH")) env.SourceDateEpoch = epoch;
  env.Regional = SystemRegionalSettings();
  return RunBatch(options, env, stdout, stderr);
}
