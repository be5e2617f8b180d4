// Writing the results report of a 2048 x 2048 memory with 128 patterns and every section;
// the rate is the report's size over the time taken, which must be 50 MB/s or more.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>

#include "random_training_set.h"
#include "report/results_report.h"

namespace corvel {
namespace {

constexpr int kUnits = 2048;
constexpr int kPatterns = 128;

PublicStuff& LargeMemory() {
  static PublicStuff s = [] {
    PublicStuff m;
    FillRandomTrainingSet(m, kUnits, kUnits, kPatterns);
    m.AllocateNetwork();
    std::mt19937_64 random(42);
    std::uniform_real_distribution<double> value(-1.0, 1.0);
    for (int i = 1; i <= kUnits; ++i) {
      for (int j = 1; j <= kUnits; ++j) m.Connections.Weight(j, i) = value(random) * 0.05;
    }
    m.LearningRule = "Delta";
    m.LearningRate = 0.01;
    m.SweepCount = 19990;
    m.TotalSSE = 1234.5678;
    m.SSEHistoryCount = kSSEHistoryRows;
    for (int r = 1; r <= kSSEHistoryRows; ++r) {
      m.SSEHistory[r][1] = 10.0 * (r - 1);
      m.SSEHistory[r][2] = 1e4 / r;
    }
    return m;
  }();
  return s;
}

ReportSections AllSections() {
  ReportSections all;
  all.fill(true);
  return all;
}

void BM_ReportText(benchmark::State& state) {
  PublicStuff& s = LargeMemory();
  std::size_t bytes = 0;
  for (auto _ : state) {
    const std::string text = ResultsReportText(s, AllSections(), {}, {});
    bytes = text.size();
    benchmark::DoNotOptimize(text.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_ReportText)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same report without the two sections that present every pattern, to show the
// formatting apart from the responses it computes.
void BM_ReportTextWithoutResponses(benchmark::State& state) {
  PublicStuff& s = LargeMemory();
  ReportSections sections = AllSections();
  sections[kResponsesSection] = sections[kErrorsSection] = false;
  std::size_t bytes = 0;
  for (auto _ : state) {
    const std::string text = ResultsReportText(s, sections, {}, {});
    bytes = text.size();
    benchmark::DoNotOptimize(text.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_ReportTextWithoutResponses)->Unit(benchmark::kMillisecond)->UseRealTime();

// Formatting, writing to a temporary file, flushing it to the disk and renaming it.
void BM_WriteReportFile(benchmark::State& state) {
  PublicStuff& s = LargeMemory();
  const std::filesystem::path path = std::filesystem::temp_directory_path() / "report_bench.txt";
  for (auto _ : state) {
    if (WriteResultsReport(s, path, AllSections(), {}, {})) state.SkipWithError("write failed");
  }
  state.SetBytesProcessed(
      static_cast<std::int64_t>(state.iterations() * std::filesystem::file_size(path)));
  std::filesystem::remove(path);
}
BENCHMARK(BM_WriteReportFile)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace corvel

BENCHMARK_MAIN();
