// What the set-up page costs on top of the engine: a 16x16x8 memory trained for 100,000
// sweeps with a printout at every sweep, once by pressing "Start Training" on the page
// (offscreen, with its live progress boxes and bar) and once by RunTraining with an observer
// that shows nothing. The page's run may take at most 1.5 times as long; the program prints
// the ratio and exits with status 1 when it is over that bound or the two runs disagree.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <cstdio>
#include <string>

#include "learning/engine.h"
#include "learning/training_parameters.h"
#include "page_benchmarks.h"
#include "pages/page_factories.h"
#include "pages/setup/dist_mem.h"
#include "platform/platform.h"
#include "random_training_set.h"

namespace {

using namespace corvel;

constexpr int kInputs = 16, kOutputs = 16, kPatterns = 8;
constexpr double kMaxRatio = 1.5;
const ParameterBoxes kBoxes{true, false, "100000", "0.01", "1", "0.05"};

void FillTrainingSet(PublicStuff& s) {
  FillRandomTrainingSet(s, kInputs, kOutputs, kPatterns);
  s.LearningRule = "Delta";
  s.AllocateNetwork();
}

// The same run without a window: the engine and a silent observer.
double BatchRun(PublicStuff& s) {
  ParameterBoxes boxes = kBoxes;
  s.NewRun = 1;
  ClearConnections(s);
  TrainingObserver silent;
  if (!ReadTrainingParameters(s, boxes).Accepted || RunTraining(s, silent)) std::abort();
  return s.TotalSSE;
}

void BM_BatchRun(benchmark::State& bench) {
  PublicStuff s;
  FillTrainingSet(s);
  for (auto _ : bench) benchmark::DoNotOptimize(BatchRun(s));
  bench.counters["sweeps"] = s.SweepCount;
}

// The page, set up as a user would with the same parameters.
struct PageRun {
  PublicStuff state;
  ScriptedPlatform platform;
  PageRegistry registry{state, platform, RegionalSettings{}};
  QPushButton* start = nullptr;

  PageRun() {
    FillTrainingSet(state);
    registry.Register(PageId::DistMem, CreateDistMem);
    registry.RequestFreshNetwork();
    Page* page = registry.Open(PageId::DistMem);
    page->findChild<QRadioButton*>(QStringLiteral("OptionDelta"))->click();
    auto set = [page](const char* name, const std::string& text) {
      page->findChild<QLineEdit*>(QLatin1String(name))->setText(QString::fromStdString(text));
    };
    set("SweepsBox", kBoxes.SweepsBox);
    set("LRateBox", kBoxes.LRateBox);
    set("PrintSweepsBox", kBoxes.PrintSweepsBox);
    set("MinErrorBox", kBoxes.MinErrorBox);
    start = page->findChild<QPushButton*>(QStringLiteral("StartTraining"));
    QApplication::processEvents();
  }
};

void BM_PageRun(benchmark::State& bench) {
  PageRun run;
  for (auto _ : bench) {
    run.start->click();
    benchmark::DoNotOptimize(run.state.TotalSSE);
  }
  if (!run.platform.messages().calls().isEmpty()) bench.SkipWithError("the page showed a message");
  // The page must have trained exactly what the engine trains alone.
  PublicStuff alone;
  FillTrainingSet(alone);
  BatchRun(alone);
  if (!(alone.Connections == run.state.Connections)) bench.SkipWithError("weights differ");
  bench.counters["sweeps"] = run.state.SweepCount;
}

// Several repetitions each; the fastest one counts, as the least disturbed by other work on
// the machine.
BENCHMARK(BM_BatchRun)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(7);
BENCHMARK(BM_PageRun)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(7);

}  // namespace

int main(int argc, char** argv) {
  return RunPageBenchmarks(argc, argv, [](BoundReporter& reporter) {
    const double batch = reporter.fastest["BM_BatchRun"];
    const double page = reporter.fastest["BM_PageRun"];
    const double ratio = batch > 0 ? page / batch : 0;
    std::printf("page run / engine run = %.3f (bound %.1f): %s\n", ratio, kMaxRatio,
                ratio > 0 && ratio <= kMaxRatio ? "ok" : "TOO SLOW");
    return ratio > 0 && ratio <= kMaxRatio;
  });
}
