#pragma once
// ProbeNetwork: the user presents single training patterns to the trained memory and reads,
// for each, the input pattern, the memory's response, the desired output and the error, as
// text blocks collected newest first in a scrolling window that can be printed or cleared.
// Probing changes no weight.

#include "pages/frame/page_frame.h"
#include "pages/page.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace corvel {

class Announcer;
class UpDown;

class ProbeNetwork final : public Page {
  Q_OBJECT
 public:
  explicit ProbeNetwork(PageRegistry& registry);

  void Form_Load() override;

  // Handlers, public so tests and scripts can drive the page as the user would.
  void PatternOK_Click();
  void ClearText_Click();
  void PrintResults_Click();
  void Command2_Click();

  // The text of the results window exactly: blocks with CR LF line ends, newest first.
  const QString& ResultsTextValue() const { return results_; }
  PageFrame& frame() { return frame_; }

 private:
  void SetResults(const QString& text);

  PageFrame frame_;
  Announcer* announcer_;  // tells screen readers what shows away from the focus
  QLabel* Label2;
  QLabel* PatternLabel;
  QLineEdit* PatternBox;
  UpDown* PatternUpDown;
  QPushButton* PatternOK;
  QPlainTextEdit* ResultsText;
  QPushButton* PrintResults;
  QPushButton* ClearText;
  QPushButton* Command2;
  QString results_;
};

}  // namespace corvel
