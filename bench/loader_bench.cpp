// Loading speed of a large training file: 2048 inputs, 2048 outputs, 128 patterns, one pattern
// per line with commas, the values written in three styles; read through the file and from
// memory. Reports bytes per second.
#include <benchmark/benchmark.h>

#include <charconv>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "trainingset/loader.h"

namespace {

constexpr int kInputs = 2048;
constexpr int kOutputs = 2048;
constexpr int kPatterns = 128;

// How the values are written.
enum Style { kFourDecimals, kSeventeenDigits, kShortestExact };

// Values in [-1, 1]: "-0.1234" as a teacher types them, "-1.2345678901234567e-01" as numeric
// tools write them, or the shortest text that reads back exactly.
std::string MakeTrainingText(int style) {
  std::mt19937_64 random(20240601);
  std::uniform_real_distribution<double> value(-1.0, 1.0);
  std::string text = std::to_string(kOutputs) + ",0," + std::to_string(kInputs) + "," +
                     std::to_string(kPatterns) + "\n";
  char buffer[64];
  const auto block = [&](int units) {
    for (int p = 1; p <= kPatterns; ++p) {
      for (int u = 1; u <= units; ++u) {
        const double v = value(random);
        char* const last = buffer + sizeof buffer;
        const auto end = style == kFourDecimals
                             ? std::to_chars(buffer, last, v, std::chars_format::fixed, 4).ptr
                         : style == kSeventeenDigits
                             ? std::to_chars(buffer, last, v, std::chars_format::scientific, 16).ptr
                             : std::to_chars(buffer, last, v).ptr;
        text.append(buffer, end);
        text += u < units ? ',' : '\n';
      }
    }
  };
  block(kInputs);
  block(kOutputs);
  return text;
}

void LoadFromMemory(benchmark::State& state) {
  const std::string text = MakeTrainingText(static_cast<int>(state.range(0)));
  corvel::PublicStuff s;
  for (auto _ : state) {
    if (corvel::LoadTrainingText(s, text, "large.net")) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(s.InputPatterns.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
  state.counters["file_MB"] = static_cast<double>(text.size()) / 1e6;
}

void LoadFromFile(benchmark::State& state) {
  const std::string text = MakeTrainingText(static_cast<int>(state.range(0)));
  const auto path = std::filesystem::temp_directory_path() / "corvel_loader_bench.net";
  std::ofstream(path, std::ios::binary) << text;
  corvel::PublicStuff s;
  for (auto _ : state) {
    if (corvel::LoadTrainingFile(s, path)) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(s.InputPatterns.data());
  }
  std::filesystem::remove(path);
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
  state.counters["file_MB"] = static_cast<double>(text.size()) / 1e6;
}

// Rates are taken over wall-clock time: that is what the student waits for.
BENCHMARK(LoadFromMemory)
    ->DenseRange(kFourDecimals, kShortestExact)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(LoadFromFile)
    ->DenseRange(kFourDecimals, kShortestExact)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
