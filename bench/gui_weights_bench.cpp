// What the weights page costs, offscreen:
//  - drawing the map of a 1024 x 1024 and a 4096 x 4096 memory at the page's size: reading
//    every weight into the reduced map, colouring it and painting it, at most 100 ms;
//  - a 256 x 256 x 64 memory trained with a printout at every sweep by "Start Training", with
//    the weights page open (following the run) and with it closed: open, the run may take at
//    most 1.1 times as long.
// The program prints each against its bound and exits with status 1 when one is over it.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <chrono>
#include <cstdio>
#include <string>

#include "page_benchmarks.h"
#include "pages/page_factories.h"
#include "pages/weights/view_weights.h"
#include "pages/weights/weight_map_view.h"
#include "platform/platform.h"
#include "platform/twips.h"
#include "random_training_set.h"

namespace {

using namespace corvel;

constexpr double kDrawBoundMs = 100;
constexpr double kLiveBound = 1.1;

void BM_DrawWeights(benchmark::State& bench) {
  const int units = static_cast<int>(bench.range(0));
  PublicStuff s;
  FillRandomTrainingSet(s, units, units, 1);
  s.AllocateNetwork();
  std::uint64_t seed = 7;
  for (int i = 1; i <= units; ++i)
    for (int j = 1; j <= units; ++j) {
      seed = seed * 6364136223846793005u + 1442695040888963407u;
      s.Connections.Weight(j, i) = static_cast<double>(seed >> 11) / 9007199254740992.0 - 0.5;
    }
  WeightMapView view;
  view.resize(TwipsToPixels(6600), TwipsToPixels(4200));  // as on the page
  for (auto _ : bench) {
    view.Show(&s, RegionalSettings{});
    view.Work(std::chrono::hours(1));
    const QPixmap drawn = view.grab();
    benchmark::DoNotOptimize(drawn.cacheKey());
  }
  if (view.Scale() <= 0) bench.SkipWithError("nothing was drawn");
}

// The set-up page over a 256 x 256 x 64 set, Delta at a small rate for 400 sweeps with a
// printout at each, and the hub; with `weightsOpen`, the weights page follows the run.
struct LiveRun {
  PublicStuff state;
  ScriptedPlatform platform;
  PageRegistry registry{state, platform, RegionalSettings{}};
  QPushButton* start = nullptr;

  explicit LiveRun(bool weightsOpen) {
    FillRandomTrainingSet(state, 256, 256, 64);
    RegisterAllPages(registry);
    registry.RequestFreshNetwork();
    Page* page = registry.Open(PageId::DistMem);
    page->findChild<QRadioButton*>(QStringLiteral("OptionDelta"))->click();
    for (const auto& [name, text] :
         {std::pair("SweepsBox", "400"), {"LRateBox", "0.001"}, {"PrintSweepsBox", "1"}})
      page->findChild<QLineEdit*>(QLatin1String(name))->setText(QLatin1String(text));
    start = page->findChild<QPushButton*>(QStringLiteral("StartTraining"));
    if (weightsOpen) registry.Open(PageId::ViewWeights);
    QApplication::processEvents();
  }
};

void BM_TrainWithWeightsPage(benchmark::State& bench) {
  const bool open = bench.range(0) == 1;
  LiveRun run(open);
  int told = 0;  // the times the pages were told of new weights
  QObject::connect(&run.registry, &PageRegistry::networkChanged, [&told] { ++told; });
  for (auto _ : bench) {
    run.start->click();
    benchmark::DoNotOptimize(run.state.TotalSSE);
  }
  if (!run.platform.messages().calls().isEmpty()) bench.SkipWithError("a message was shown");
  // Cleared and ended: twice a run; the page open must also have followed the run.
  const double perRun = static_cast<double>(told) / static_cast<double>(bench.iterations());
  bench.counters["told_per_run"] = perRun;
  if (open && perRun <= 2) bench.SkipWithError("the weights page did not follow the run");
}

BENCHMARK(BM_DrawWeights)->Arg(1024)->Arg(4096)->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(BM_TrainWithWeightsPage)
    ->ArgName("open")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2)
    ->Repetitions(7);

}  // namespace

int main(int argc, char** argv) {
  return RunPageBenchmarks(argc, argv, [](BoundReporter& reporter) {
    bool within = true;
    for (const char* size : {"1024", "4096"}) {
      const double ms = reporter.fastest[std::string("BM_DrawWeights/") + size];
      std::printf("drawing %s x %s: fastest %.1f ms (bound %.0f ms): %s\n", size, size, ms,
                  kDrawBoundMs, ms > 0 && ms <= kDrawBoundMs ? "ok" : "TOO SLOW");
      within = within && ms > 0 && ms <= kDrawBoundMs;
    }
    const double closed = reporter.fastest["BM_TrainWithWeightsPage/open:0"];
    const double open = reporter.fastest["BM_TrainWithWeightsPage/open:1"];
    const double ratio = closed > 0 ? open / closed : 0;
    std::printf("run with the weights page open / closed = %.3f (bound %.1f): %s\n", ratio,
                kLiveBound, ratio > 0 && ratio <= kLiveBound ? "ok" : "TOO SLOW");
    return within && ratio > 0 && ratio <= kLiveBound;
  });
}
