#pragma once
// A console reporter that also keeps each benchmark's fastest repetition, for the benchmarks
// that hold a time to a bound: the fastest is the one least disturbed by other work.

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace corvel {

class BoundReporter final : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.error_occurred) failed = true;
      if (run.run_type != Run::RT_Iteration) continue;
      const std::string name =
          run.run_name.function_name + (run.run_name.args.empty() ? "" : "/" + run.run_name.args);
      const double time = run.GetAdjustedRealTime();
      if (!fastest.count(name) || time < fastest[name]) fastest[name] = time;
    }
    ConsoleReporter::ReportRuns(runs);
  }
  // By the benchmark's name and its arguments ("BM_Draw/4096"), in its own time unit.
  std::map<std::string, double> fastest;
  bool failed = false;
};

}  // namespace corvel
