#include "pages/setup/progress_boxes.h"

#include <QApplication>
#include <QPalette>
#include <algorithm>
#include <utility>

#include "report/progress_text.h"

namespace corvel {
namespace {

const QColor kRed(255, 0, 0);
const QColor kGreen(0, 255, 0);

QColor ButtonFace() { return QApplication::palette().color(QPalette::Button); }

QString Text(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

ProgressBoxes::ProgressBoxes(const std::array<DisplayBox*, 4>& boxes, QProgressBar* bar,
                             Announcer& announcer, const PublicStuff& state,
                             const RegionalSettings& settings, std::function<void()> processEvents)
    : boxes_(boxes),
      bar_(bar),
      announcer_(announcer),
      state_(state),
      settings_(settings),
      processEvents_(std::move(processEvents)) {
  sinceAnnounced_.start();
}

void ProgressBoxes::ClearCounts() {
  for (int i = 1; i <= 3; ++i) boxes_[i]->Clear();
}

void ProgressBoxes::ShowRunStart(const RunStart& start) {
  for (DisplayBox* box : boxes_) box->show();
  if (start.StopAtMaxSweeps) {
    // The sweeps still to come: all of MaxSweeps for a new run, the further ones otherwise.
    const std::int32_t sweeps =
        start.NewRun ? state_.MaxSweeps : state_.MaxSweeps - state_.SweepCount;
    bar_->setRange(0, std::max(sweeps, 0));
    bar_->setValue(0);
    bar_->show();
  }
  if (start.NewRun) {
    boxes_[0]->Clear();
    boxes_[0]->WriteLine(Text(TrainingFileText(state_.TrainingFileName)));
  }
  sinceAnnounced_.start();
}

void ProgressBoxes::ShowSweepsThisRun(std::int32_t sweeps) { bar_->setValue(sweeps); }

void ProgressBoxes::ShowPrintout(const TrainingProgress& progress) {
  ClearCounts();
  boxes_[1]->WriteLine(Text(EpochsText(progress.SweepCount)));
  boxes_[2]->WriteLine(Text(TotalSSEText(progress.TotalSSE, settings_)));
  if (progress.ChangeValid) {
    // Red when the error rose, green when it fell or stayed the same.
    boxes_[3]->SetBackColor(progress.SSEChange < 0 ? kRed : kGreen);
    boxes_[3]->WriteLine(Text(SSEChangeText(progress.SSEChange, settings_)));
  }
  if (sinceAnnounced_.hasExpired(kAnnouncementMs)) AnnounceCounts(QStringLiteral("Training."));
}

void ProgressBoxes::ShowRunEnd(const TrainingProgress& progress) {
  ClearCounts();
  boxes_[1]->WriteLine(Text(EpochsText(progress.SweepCount)));
  // Green only when the error target was met, whether or not that rule was in force.
  boxes_[2]->SetBackColor(progress.TotalSSE < state_.MinSSE ? kGreen : kRed);
  boxes_[3]->SetBackColor(ButtonFace());
  boxes_[2]->WriteLine(Text(TotalSSEText(progress.TotalSSE, settings_)));
  if (progress.ChangeValid)
    boxes_[3]->WriteLine(Text(SSEChangeText(progress.SSEChange, settings_)));
  AnnounceCounts(QStringLiteral("Training ended."));
}

void ProgressBoxes::AnnounceCounts(const QString& headline) {
  QStringList parts{headline};
  for (int i = 1; i <= 3; ++i)
    if (!boxes_[i]->text().isEmpty()) parts << boxes_[i]->text() + QLatin1Char('.');
  announcer_.Say(parts.join(QLatin1Char(' ')));
  sinceAnnounced_.start();
}

}  // namespace corvel
