// A long session, to show that the pages give back what they take: a 16x16x8 memory trained on
// the set-up page for 1,000,000 sweeps with a printout at every sweep, then the evaluation
// page, the probe page (100 patterns presented), the save page and the chart page opened and
// closed 200 times. Prints the resident memory at the start, after the training run, after
// the first round of pages (which loads fonts and plugins once) and at the end; exits with
// status 1 when the 199 rounds after the first grew it by 2 MB or more.
//
// Run offscreen: QT_QPA_PLATFORM=offscreen build/bench/gui_soak_bench

#include <malloc.h>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <cstdio>
#include <fstream>
#include <string>

#include "pages/page_factories.h"
#include "pages/page_registry.h"
#include "platform/platform.h"
#include "random_training_set.h"
#include "state/public_stuff.h"

namespace {

using namespace corvel;

constexpr int kInputs = 16, kOutputs = 16, kPatterns = 8;
constexpr int kRounds = 200;
constexpr double kMaxGrowthMiB = 2.0;

// Resident memory in MiB, as the kernel counts it, once the allocator has given back what
// it holds free (so that what is counted is what the program still uses).
double ResidentMiB() {
  malloc_trim(0);
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return static_cast<double>(resident) * 4096.0 / (1024.0 * 1024.0);
}

void FillTrainingSet(PublicStuff& s) { FillRandomTrainingSet(s, kInputs, kOutputs, kPatterns); }

template <class W>
W* Control(Page* page, const char* name) {
  W* control = page->findChild<W*>(QLatin1String(name));
  if (!control) qFatal("no control %s", name);
  return control;
}

// Closed pages are deleted later, by the event loop; this lets it.
void Settle() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
}

// One round: each evaluation page opened, used a little, and closed again.
void EvaluationRound(PageRegistry& registry) {
  registry.Open(PageId::TestDAM);
  Page* probe = registry.Open(PageId::ProbeNetwork);
  for (int shown = 0; shown < 100; ++shown) {
    Control<QLineEdit>(probe, "PatternBox")->setText(QString::number(shown % kPatterns + 1));
    Control<QPushButton>(probe, "PatternOK")->click();
  }
  registry.Open(PageId::SaveResults);
  registry.Open(PageId::PlotSSEdata);
  for (PageId id :
       {PageId::PlotSSEdata, PageId::SaveResults, PageId::ProbeNetwork, PageId::TestDAM}) {
    registry.Close(id);
  }
  Settle();
}

}  // namespace

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  PublicStuff state;
  ScriptedPlatform platform;
  PageRegistry registry(state, platform, RegionalSettings{});
  RegisterAllPages(registry);
  FillTrainingSet(state);

  registry.RequestFreshNetwork();
  Page* setup = registry.Open(PageId::DistMem);
  Settle();
  const double start = ResidentMiB();
  Control<QRadioButton>(setup, "OptionDelta")->click();
  Control<QLineEdit>(setup, "SweepsBox")->setText(QStringLiteral("1000000"));
  Control<QLineEdit>(setup, "PrintSweepsBox")->setText(QStringLiteral("1"));
  Control<QLineEdit>(setup, "LRateBox")->setText(QStringLiteral("0.01"));
  Control<QPushButton>(setup, "StartTraining")->click();
  Settle();
  const double trained = ResidentMiB();
  if (state.SweepCount != 1000000 || !platform.messages().calls().isEmpty()) {
    std::printf("the training run did not end after 1,000,000 sweeps\n");
    return 1;
  }

  EvaluationRound(registry);
  const double firstRound = ResidentMiB();
  for (int round = 1; round < kRounds; ++round) EvaluationRound(registry);
  const double end = ResidentMiB();

  std::printf(
      "resident memory (MiB): start %.2f, after 1,000,000 sweeps %.2f, "
      "after the first round of pages %.2f, after %d rounds %.2f\n",
      start, trained, firstRound, kRounds, end);
  const double growth = end - firstRound;
  std::printf("growth over the last %d rounds: %.2f MiB (bound %.1f)\n", kRounds - 1, growth,
              kMaxGrowthMiB);
  return growth < kMaxGrowthMiB ? 0 : 1;
}
