#pragma once
// PlotSSEdata: the SSE history as a bar chart, one bar per recorded sweep, built when the page
// is loaded; it can be printed, its picture and numbers saved, and its SSE axis made
// logarithmic (a choice kept while the program runs). The page only reads the
// network state, and only while it loads: it keeps showing the history of that moment until
// it is closed and opened again.

#include "pages/frame/page_frame.h"
#include "pages/page.h"

class QLabel;
class QPushButton;

namespace corvel {

class SSEChart;

class PlotSSEdata final : public Page {
  Q_OBJECT
 public:
  explicit PlotSSEdata(PageRegistry& registry);

  void Form_Load() override;

  // Handlers, public so tests and scripts can drive the page as the user would.
  void PrintThisGraph_Click();
  void CloseThisForm_Click();
  void CopyPicture();
  void SavePictureAs();
  void SaveDataAs();

  SSEChart* chart() const { return SSEgraph; }
  PageFrame& frame() { return frame_; }

 private:
  PageFrame frame_;
  QLabel* Label1;
  SSEChart* SSEgraph;
  QLabel* ChartMenuLabel;  // names the chart's menu and the keys that open it
  QPushButton* PrintThisGraph;
  QPushButton* CloseThisForm;
};

}  // namespace corvel
