#pragma once
// The training-file page: the user browses drives and directories, double-clicks a training
// file (*.net), sees its name and counts, and goes on to the set-up page.

#include <array>

#include "pages/frame/page_frame.h"
#include "pages/page.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace corvel {

class Announcer;
class DirList;
class DriveList;
class FileList;

class Network1 final : public Page {
  Q_OBJECT
 public:
  explicit Network1(PageRegistry& registry);

  void Form_Load() override;

  // Handlers, public so tests and scripts can drive the page as the user would.
  void Drive1_Change();
  void Dir1_Change();
  void File1_DblClick();
  void NextPage_Click();
  void Command2_Click();

  PageFrame& frame() { return frame_; }

 private:
  // The controls, created and placed by BuildControls (network1_layout.cpp).
  struct Controls {
    QLabel* Label1;
    QLabel* FileLabel;
    DriveList* Drive1;
    DirList* Dir1;
    FileList* File1;
    std::array<QLabel*, 5> Label8;
    std::array<QLineEdit*, 4> OutputText;
    QPushButton* NextPage;
    QPushButton* Command2;
    QLabel* Label3;
  };
  static Controls BuildControls(QWidget* page);
  void ShowReadFault(const QString& message);

  PageFrame frame_;
  Controls c_;
  Announcer* announcer_;
  bool setLoaded_ = false;  // a training file was loaded on this page
};

}  // namespace corvel
