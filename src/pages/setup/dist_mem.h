#pragma once
// DistMem, the training set-up page: the user picks the learning rule, the learning rate, how
// training ends, the sweep counts and the printout interval, then starts a new run or
// continues the last one and watches it in the progress boxes. "Test Recall" opens the hub.
//
// A run holds the GUI thread, but the page lets the window repaint and move once per screen
// frame; meanwhile only "Stop Training", "Exit" and the Esc key are taken, and a stop ends the
// run as if its stopping rule had fired.

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <array>
#include <memory>
#include <optional>

#include "learning/engine.h"
#include "pages/frame/page_frame.h"
#include "pages/page.h"
#include "pages/setup/paced_progress.h"
#include "pages/setup/progress_boxes.h"
#include "platform/display_box.h"
#include "platform/up_down.h"

namespace corvel {

class DistMem final : public Page {
  Q_OBJECT
 public:
  explicit DistMem(PageRegistry& registry);
  ~DistMem() override;

  void Form_Load() override;
  void Form_Activate() override;

  // True while a training run is going on inside a button's handler.
  bool IsTraining() const { return observer_ != nullptr; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // Creation and placement of the controls (dist_mem_controls.cpp).
  void CreateControls();
  void SetTabOrder();
  void ConnectHandlers();

  void OptionHebb_Click();
  void OptionDelta_Click();
  void StartTraining_Click();
  void Continue_Click();
  void TestRecall_Click();
  void Command2_Click();
  void StopTraining_Click();

  bool ReadTrainingParameters();
  // Runs training from the parameters just read; `starter` is the button pressed.
  void Train(QPushButton* starter);
  void EndOfRun();
  void ShowFailure(const RunFailure& failure);
  void ShowOutOfMemory();
  // Re-creates the network arrays when a fresh network was asked for; true if it did.
  bool MakeFreshNetworkIfRequested();
  // True when the arrays fit the loaded counts; otherwise reports that they could not be made.
  bool NetworkReady();
  void SetSlidersFromBoxes();
  void SetInputsEnabled(bool enabled);
  void SetNotice(const QString& text);

  QLabel* Label1 = nullptr;
  QGroupBox* Frame1 = nullptr;
  QRadioButton* OptionHebb = nullptr;
  QRadioButton* OptionDelta = nullptr;
  QGroupBox* ConvergenceFrame = nullptr;
  std::array<QCheckBox*, 2> Check1{};
  QLineEdit* SweepsBox = nullptr;
  UpDown* SweepsUpDown = nullptr;
  QLabel* MaxSweepsLabel = nullptr;
  QLineEdit* PrintSweepsBox = nullptr;
  UpDown* PrintSweepsUpDown = nullptr;
  QLabel* PrintSweepsLabel = nullptr;
  QLineEdit* LRateBox = nullptr;
  QSlider* LRateSlider = nullptr;
  QLabel* RateLabel = nullptr;
  QLineEdit* MinErrorBox = nullptr;
  QSlider* MinErrorSlider = nullptr;
  QLabel* MinErrorLabel = nullptr;
  QPushButton* StartTraining = nullptr;
  QPushButton* StopTraining = nullptr;
  QPushButton* Continue = nullptr;
  QPushButton* TestRecall = nullptr;
  QPushButton* Command2 = nullptr;
  std::array<DisplayBox*, 4> Picture1{};
  QProgressBar* EpochProgress = nullptr;
  QLabel* Label3 = nullptr;
  Announcer* announcer_ = nullptr;  // what a screen reader hears of a run's counts

  std::unique_ptr<PageFrame> frame_;
  std::unique_ptr<ProgressBoxes> progress_;
  PacedProgressObserver* observer_ = nullptr;  // the running run's, else nullptr
  bool exitAfterRun_ = false;
  bool closeAfterRun_ = false;
};

}  // namespace corvel
