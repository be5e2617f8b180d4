#include "pages/setup/dist_mem.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QSignalBlocker>
#include <new>

#include "learning/training_parameters.h"
#include "pages/frame/designs.h"
#include "pages/page_factories.h"
#include "pages/page_registry.h"
#include "pages/setup/run_input_guard.h"
#include "pages/setup/slider_mapping.h"
#include "platform/platform.h"
#include "report/failure_text.h"

namespace corvel {
namespace {

const QString kCaption =
    QStringLiteral("Distributed Memory Setup Page -- Talvik Neural Network Code");

// How long one frame of the screen lasts: progress is repainted at most this often.
std::chrono::nanoseconds ScreenFrame() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const double hz = screen && screen->refreshRate() >= 1.0 ? screen->refreshRate() : 60.0;
  return std::chrono::nanoseconds(static_cast<long long>(1e9 / hz));
}

const QString kReadyNotice = QStringLiteral(
    "Choose the rule, the rate and how training ends, then press Start Training (or Enter).");

QString Text(const std::string& text) { return QString::fromStdString(text); }

void SetSliderFromBox(QSlider* slider, const QLineEdit* box) {
  // Only the sliders' own moves write the boxes, so the box keeps the text as typed.
  const QSignalBlocker quiet(slider);
  slider->setValue(SliderValueForBox(box->text().toStdString(), slider->value(), slider->minimum(),
                                     slider->maximum()));
}

void SetBoxText(QLineEdit* box, const std::string& text) {
  if (box->text().toStdString() != text) box->setText(Text(text));
}

}  // namespace

Page* CreateDistMem(PageRegistry& registry) { return new DistMem(registry); }

DistMem::DistMem(PageRegistry& registry) : Page(registry, PageId::DistMem, kCaption) {
  CreateControls();
  SetTabOrder();
  frame_ = std::make_unique<PageFrame>(this, kDistMemDesign);
  progress_ = std::make_unique<ProgressBoxes>(Picture1, EpochProgress, *announcer_, State(),
                                              regionalSettings(),
                                              [] { QCoreApplication::processEvents(); });
  ConnectHandlers();
  SetNotice(kReadyNotice);
}

DistMem::~DistMem() = default;

void DistMem::ConnectHandlers() {
  connect(OptionHebb, &QRadioButton::toggled, this, [this](bool on) {
    if (on) OptionHebb_Click();
  });
  connect(OptionDelta, &QRadioButton::toggled, this, [this](bool on) {
    if (on) OptionDelta_Click();
  });
  connect(LRateSlider, &QSlider::valueChanged, this,
          [this](int value) { LRateBox->setText(Text(BoxTextForSlider(value))); });
  connect(MinErrorSlider, &QSlider::valueChanged, this,
          [this](int value) { MinErrorBox->setText(Text(BoxTextForSlider(value))); });
  connect(StartTraining, &QPushButton::clicked, this, &DistMem::StartTraining_Click);
  connect(StopTraining, &QPushButton::clicked, this, &DistMem::StopTraining_Click);
  connect(Continue, &QPushButton::clicked, this, &DistMem::Continue_Click);
  connect(TestRecall, &QPushButton::clicked, this, &DistMem::TestRecall_Click);
  connect(Command2, &QPushButton::clicked, this, &DistMem::Command2_Click);
}

void DistMem::Form_Load() {
  MakeFreshNetworkIfRequested();
  OptionDelta->setChecked(false);
  OptionHebb->setChecked(true);
  State().LearningRule = "Hebb";
  SetSlidersFromBoxes();
  EpochProgress->hide();
  frame_->StartUp();
}

void DistMem::Form_Activate() {
  // A run processes events so the window can repaint; its own activation changes nothing.
  if (IsTraining()) return;
  if (MakeFreshNetworkIfRequested()) {
    for (DisplayBox* box : Picture1) box->hide();
    SetNotice(kReadyNotice);
  }
  SetSlidersFromBoxes();
  SetInputsEnabled(true);
  frame_->StartUp();
}

void DistMem::OptionHebb_Click() { State().LearningRule = "Hebb"; }
void DistMem::OptionDelta_Click() { State().LearningRule = "Delta"; }

void DistMem::StartTraining_Click() {
  if (IsTraining()) return;  // a second press during a run is ignored
  State().NewRun = 1;
  progress_->ClearCounts();
  if (!NetworkReady()) return;
  ClearConnections(State());
  registry().NotifyNetworkChanged();
  if (ReadTrainingParameters()) Train(StartTraining);
}

void DistMem::Continue_Click() {
  if (IsTraining()) return;
  State().NewRun = 0;
  if (!NetworkReady()) return;
  if (ReadTrainingParameters()) Train(Continue);
}

void DistMem::TestRecall_Click() { registry().Open(PageId::TestDAM); }

void DistMem::Command2_Click() {
  if (IsTraining()) {
    // The run is inside a handler further down the stack: end it first, then the program.
    exitAfterRun_ = true;
    observer_->RequestStop();
    return;
  }
  registry().ExitProgram();
}

void DistMem::StopTraining_Click() {
  if (IsTraining()) observer_->RequestStop();
}

bool DistMem::ReadTrainingParameters() {
  ParameterBoxes boxes{Check1[0]->isChecked(),
                       Check1[1]->isChecked(),
                       SweepsBox->text().toStdString(),
                       LRateBox->text().toStdString(),
                       PrintSweepsBox->text().toStdString(),
                       MinErrorBox->text().toStdString()};
  const ParameterOutcome outcome = corvel::ReadTrainingParameters(State(), boxes);
  if (outcome.Failure) {
    ShowFailure(*outcome.Failure);
    return false;
  }
  if (outcome.Refusal) {
    platform().messageBox().Show(this, Text(outcome.Refusal->Text), Text(outcome.Refusal->Title),
                                 MessageIcon::Warning);
    // The refusal reset one value; show it in its control.
    Check1[0]->setChecked(boxes.MaxSweepsChecked);
    Check1[1]->setChecked(boxes.MinSSEChecked);
    SetBoxText(SweepsBox, boxes.SweepsBox);
    SetBoxText(LRateBox, boxes.LRateBox);
    return false;
  }
  SetInputsEnabled(false);
  for (QPushButton* button : {TestRecall, Continue}) {
    button->setEnabled(false);
    button->hide();
  }
  return true;
}

void DistMem::Train(QPushButton* starter) {
  PacedProgressObserver observer(*progress_, ScreenFrame());
  // A page that draws the weights follows the run, when it has drawn the last ones.
  observer.FollowWeights({[this] { return registry().WantsLiveWeights(); },
                          [this] { registry().NotifyNetworkChanged(); }});
  observer_ = &observer;
  StopTraining->setEnabled(true);
  StopTraining->show();
  SetNotice(QStringLiteral("Training. Press Stop Training or Esc to end the run now."));
  std::optional<RunFailure> failure;
  registry().SetTrainingRunGoing(true);
  {
    RunInputGuard guard({StopTraining, Command2}, [&observer] { observer.RequestStop(); });
    try {
      failure = RunTraining(State(), observer);
    } catch (const std::bad_alloc&) {  // a run allocates nothing, but a fault is reported
      failure = RunFailure{kOutOfMemoryCode, "Out of memory"};
    }
  }
  observer_ = nullptr;
  registry().SetTrainingRunGoing(false);
  registry().NotifyNetworkChanged();  // the weights the run left, failed or not
  // Focus would pass to Exit with the Stop button gone, where a stray Return ends the program.
  if (StopTraining->hasFocus()) StartTraining->setFocus();
  StopTraining->hide();
  if (failure) {
    observer.Flush();  // the boxes keep the last values the run reached
    // The inputs stay as the failure left them until the page is activated again; from here
    // only a new run with the same settings or leaving the program is possible.
    SetNotice(QStringLiteral(
        "The run failed. Press Start Training to train again from cleared weights with the "
        "same settings, or Exit."));
    ShowFailure(*failure);
  } else {
    EndOfRun();
  }
  // The focus goes back to the button that started the run, so that pressing it again trains
  // again; "Continue Training" hides during a run and passed the focus on to Exit. A failure
  // keeps Continue hidden, and then Start Training takes the focus.
  (starter->isHidden() ? StartTraining : starter)->setFocus();
  if (exitAfterRun_) {
    registry().ExitProgram();
  } else if (closeAfterRun_) {
    close();
  }
}

void DistMem::EndOfRun() {
  SetInputsEnabled(true);
  for (QPushButton* button : {TestRecall, Continue}) {
    button->setEnabled(true);
    button->show();
  }
  EpochProgress->hide();
  SetNotice(
      QStringLiteral("Press Test Recall to examine the memory, or Continue Training to "
                     "train further."));
}

void DistMem::ShowFailure(const RunFailure& failure) {
  platform().messageBox().Show(this, Text(FailureReportText(failure.Code, failure.Description)),
                               QStringLiteral("Corvel Duvu"), MessageIcon::None);
}

bool DistMem::MakeFreshNetworkIfRequested() {
  if (!registry().TakeFreshNetworkRequest()) return false;
  if (!State().TryAllocateNetwork()) ShowOutOfMemory();
  registry().NotifyNetworkChanged();
  return true;
}

void DistMem::ShowOutOfMemory() { ShowFailure(RunFailure{kOutOfMemoryCode, "Out of memory"}); }

bool DistMem::NetworkReady() {
  const bool ready = State().NetworkFitsTrainingSet();
  if (!ready) ShowOutOfMemory();  // the arrays could not be made when the page asked for them
  return ready;
}

void DistMem::SetSlidersFromBoxes() {
  SetSliderFromBox(LRateSlider, LRateBox);
  SetSliderFromBox(MinErrorSlider, MinErrorBox);
}

void DistMem::SetInputsEnabled(bool enabled) {
  QWidget* const inputs[] = {Check1[0],      Check1[1],         OptionHebb,  OptionDelta,
                             PrintSweepsBox, PrintSweepsUpDown, SweepsBox,   SweepsUpDown,
                             LRateBox,       LRateSlider,       MinErrorBox, MinErrorSlider};
  for (QWidget* input : inputs) input->setEnabled(enabled);
}

void DistMem::SetNotice(const QString& text) { Label3->setText(text); }

void DistMem::keyPressEvent(QKeyEvent* event) {
  // StartTraining is the page's default button: Return starts a run unless a focused button
  // took the key for itself.
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !IsTraining()) {
    StartTraining->click();
    return;
  }
  Page::keyPressEvent(event);
}

void DistMem::closeEvent(QCloseEvent* event) {
  if (IsTraining()) {
    // Closing would destroy the page under the running handler: stop, then close.
    closeAfterRun_ = true;
    observer_->RequestStop();
    event->ignore();
    return;
  }
  Page::closeEvent(event);
}

}  // namespace corvel
