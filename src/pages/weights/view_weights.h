#pragma once
// ViewWeights: the whole memory on one page. The weights as a heat map with its colour key and
// the current cell's units and weight; below, every pattern's response, desired output and
// error as the probe page prints them, with the pattern's SSE and the worst pattern marked.
// Opened from the hub's "View Weights And Responses", it follows the network: while a run
// trains, at most once a screen frame and in a small share of the run's time; after a run,
// and when the network is made afresh or a new training file is loaded. Its context menu saves
// the weights and the responses as CSV and the map as a picture.
//
// Reading a large memory is spread over time in slices, so the page never freezes; until a
// drawing or a row is made anew, the last one shows.

#include <QTimer>
#include <chrono>

#include "pages/frame/page_frame.h"
#include "pages/page.h"
#include "report/replace_file.h"

class QLabel;
class QPushButton;
class QTableView;

namespace corvel {

struct PublicStuff;
class ResponsesModel;
class WeightKey;
class WeightMapView;

class ViewWeights final : public Page {
  Q_OBJECT
 public:
  explicit ViewWeights(PageRegistry& registry);

  void Form_Load() override;

  // Handlers, public so tests and scripts can drive the page as the user would.
  void Command2_Click();
  void SaveWeightsAs();
  void SaveResponsesAs();
  void SavePictureAs();

  WeightMapView* map() const { return WeightMap; }
  ResponsesModel* responses() const { return responses_; }
  PageFrame& frame() { return frame_; }
  // Does the work still waiting, at once; for tests and benchmarks.
  void FinishWork();

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Shows the network as the state holds it now.
  void ShowNetwork();
  void DoWork();
  void ShowCurrentCell();
  void ShowZoomAndScale();
  void ShowWorst();
  void ShowMenu(const QPoint& globalPos);
  // Asks for a file name and writes the network there with `write`.
  void SaveCsv(const QString& title, const QString& name,
               bool (*write)(const PublicStuff&, const ByteSink&));
  // True when the memory is set up for the training set; otherwise says so.
  bool NetworkReady();
  void TellRowsInView();

  PageFrame frame_;
  QLabel* Label1;
  QLabel* WeightsLabel;
  WeightMapView* WeightMap;
  WeightKey* ColourKey;
  QLabel* CellLabel;
  QLabel* ZoomLabel;
  QLabel* MenuLabel;
  QLabel* ResponsesLabel;
  QTableView* ResponsesTable;
  QLabel* WorstLabel;
  QPushButton* Command2;
  QLabel* Label3;
  ResponsesModel* responses_;
  QTimer work_;
};

}  // namespace corvel
