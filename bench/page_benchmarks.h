#pragma once
// What the benchmarks that open pages share: they run offscreen, keep each benchmark's fastest
// repetition (the one least disturbed by other work on the machine) and hold it to a bound.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <functional>
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

namespace detail {
// The offscreen platform cannot raise a window and says so at every opening; only that
// warning is dropped, so that the table stays readable.
inline QtMessageHandler qtHandler = nullptr;
inline void DropRaiseWarning(QtMsgType type, const QMessageLogContext& context,
                             const QString& text) {
  if (text != QLatin1String("This plugin does not support raise()")) qtHandler(type, context, text);
}
}  // namespace detail

// Runs the program's benchmarks offscreen and returns its exit status: 1 when one of them
// failed or `within` (which prints its verdict) finds a time over its bound.
inline int RunPageBenchmarks(int argc, char** argv,
                             const std::function<bool(BoundReporter&)>& within) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  detail::qtHandler = qInstallMessageHandler(detail::DropRaiseWarning);
  benchmark::Initialize(&argc, argv);
  BoundReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const bool ok = within(reporter);
  return ok && !reporter.failed ? 0 : 1;
}

}  // namespace corvel
