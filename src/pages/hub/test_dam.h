#pragma once
// TestDAM, the evaluation hub that "Test Recall" opens over the set-up page. One list holds
// the ways of examining the trained memory (probe single patterns, save a report, plot SSE
// by sweeps), the other the ways of going on (reset the weights, keep them and continue, or
// start over with a new training file). A button beside "Exit Program" opens the weights page. An
// item is chosen by double-clicking it, or by selecting it and pressing Enter. The hub computes
// nothing: it opens pages and sets NewRun.

#include "pages/frame/page_frame.h"
#include "pages/page.h"

class QLabel;
class QPushButton;

namespace corvel {

class LineControl;
class ListBox;

class TestDAM final : public Page {
  Q_OBJECT
 public:
  explicit TestDAM(PageRegistry& registry);

  void Form_Load() override;

  // Handlers, public so tests and scripts can drive the page as the user would.
  void TestList_DblClick();
  void ContinueList_DblClick();
  void Command2_Click();
  void ViewWeights_Click();

  PageFrame& frame() { return frame_; }

 private:
  void ShowNothingSelected();

  PageFrame frame_;
  QLabel* Label5;
  ListBox* TestList;
  LineControl* Line1;
  QLabel* Label4;
  ListBox* ContinueList;
  QLabel* Label1;
  QPushButton* Command2;
  QPushButton* ViewWeights;  // opens the weights page; the hub stays open
  QLabel* Label3;
};

}  // namespace corvel
