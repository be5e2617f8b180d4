#pragma once
// The set-up page's progress output: the four boxes Picture1(0)..Picture1(3) and the bar
// EpochProgress, written at the start of a run, at printouts and at its end, with the colours
// that say whether the error fell and whether the error target was met. A screen reader hears
// the counts through the page's announcer: at the end of the run, and every few seconds of a
// long one.

#include <QElapsedTimer>
#include <QProgressBar>
#include <array>
#include <functional>

#include "pages/setup/paced_progress.h"
#include "platform/announcer.h"
#include "platform/display_box.h"
#include "report/formats.h"
#include "state/public_stuff.h"

namespace corvel {

class ProgressBoxes final : public ProgressView {
 public:
  // `processEvents` lets the window repaint and take its input during a run.
  ProgressBoxes(const std::array<DisplayBox*, 4>& boxes, QProgressBar* bar, Announcer& announcer,
                const PublicStuff& state, const RegionalSettings& settings,
                std::function<void()> processEvents);

  void ShowRunStart(const RunStart& start) override;
  void ShowSweepsThisRun(std::int32_t sweeps) override;
  void ShowPrintout(const TrainingProgress& progress) override;
  void ShowRunEnd(const TrainingProgress& progress) override;
  void ProcessEvents() override { processEvents_(); }

  // Empties boxes 1 to 3 (a new start clears them before the parameters are checked).
  void ClearCounts();

  // The shortest time between two announcements of the counts during a run.
  static constexpr int kAnnouncementMs = 5000;

 private:
  // Says `headline`, then the counts the boxes show.
  void AnnounceCounts(const QString& headline);

  std::array<DisplayBox*, 4> boxes_;
  QProgressBar* bar_;
  Announcer& announcer_;
  QElapsedTimer sinceAnnounced_;
  const PublicStuff& state_;
  RegionalSettings settings_;
  std::function<void()> processEvents_;
};

}  // namespace corvel
