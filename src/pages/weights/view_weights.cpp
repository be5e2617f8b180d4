#include "pages/weights/view_weights.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>

#include "pages/frame/designs.h"
#include "pages/page_controls.h"
#include "pages/page_factories.h"
#include "pages/page_registry.h"
#include "pages/saved_files.h"
#include "pages/weights/responses_model.h"
#include "pages/weights/weight_key.h"
#include "pages/weights/weight_map_view.h"
#include "platform/platform.h"
#include "platform/twips.h"
#include "report/network_csv.h"
#include "state/public_stuff.h"

namespace corvel {
namespace {

using namespace std::chrono_literals;

// While a run trains, the page takes a slice of a millisecond a frame (the run lets events in
// about once a frame); otherwise slices short enough to keep the window lively.
constexpr auto kSliceWhileTraining = 1ms;
constexpr auto kSlice = 20ms;

const QString kMenuHint = QStringLiteral(
    "Right-click the map or the table, or press the Menu key or Shift+F10 on it, to save the "
    "weights or the responses as CSV or the map as a picture. The wheel, + and - zoom the "
    "map; 0 shows all of it.");

}  // namespace

ViewWeights::ViewWeights(PageRegistry& registry)
    : Page(registry, PageId::ViewWeights,
           QStringLiteral("Distributed Memory Program -- Weights And Responses")),
      frame_(this, kViewWeightsDesign),
      responses_(new ResponsesModel(this)) {
  Label1 = MakeLabel(this, QStringLiteral("Label1"),
                     QStringLiteral("The Memory's Weights And Its Responses To Every Pattern"),
                     Arial(15.75, true));
  Label1->setAlignment(Qt::AlignCenter);
  PlaceTwips(Label1, 120, 120, 10500, 495);

  const QFont caption = Arial(9.75, true);
  WeightsLabel = MakeLabel(
      this, QStringLiteral("WeightsLabel"),
      QStringLiteral("Connection weights from input units (rows) to output units (columns):"),
      caption);
  PlaceTwips(WeightsLabel, 240, 720, 6600, 330);
  WeightMap = Named(new WeightMapView(this), QStringLiteral("WeightMap"), Arial(9.75));
  WeightMap->setAccessibleName(QStringLiteral("Weights"));
  WeightMap->setAccessibleDescription(kMenuHint);
  WeightMap->setToolTip(kMenuHint);
  PlaceTwips(WeightMap, 240, 1080, 6600, 4200);

  ColourKey = Named(new WeightKey(this), QStringLiteral("ColourKey"), Arial(8.25));
  PlaceTwips(ColourKey, 7080, 1080, 3420, 660);
  const QFont text = Arial(9.75);
  CellLabel = MakeLabel(this, QStringLiteral("CellLabel"), QString(), text);
  PlaceTwips(CellLabel, 7080, 1920, 3420, 1080);
  ZoomLabel = MakeLabel(this, QStringLiteral("ZoomLabel"), QString(), text);
  PlaceTwips(ZoomLabel, 7080, 3060, 3420, 600);
  MenuLabel = MakeLabel(this, QStringLiteral("MenuLabel"), kMenuHint, Arial(8.25, false, true));
  PlaceTwips(MenuLabel, 7080, 3720, 3420, 1560);

  ResponsesLabel = MakeLabel(this, QStringLiteral("ResponsesLabel"),
                             QStringLiteral("Network Responses To Each Input Pattern:"), caption);
  PlaceTwips(ResponsesLabel, 240, 5460, 6600, 330);
  ResponsesTable = Named(new QTableView(this), QStringLiteral("ResponsesTable"), text);
  ResponsesTable->setModel(responses_);
  ResponsesTable->setAccessibleName(QStringLiteral("Responses"));
  ResponsesTable->setToolTip(kMenuHint);
  ResponsesTable->verticalHeader()->hide();
  ResponsesTable->horizontalHeader()->setDefaultSectionSize(TwipsToPixels(1200));
  ResponsesTable->setSelectionMode(QAbstractItemView::SingleSelection);
  ResponsesTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
  ResponsesTable->setTabKeyNavigation(false);  // Tab leaves the table; the arrows walk it
  ResponsesTable->setContextMenuPolicy(Qt::CustomContextMenu);
  PlaceTwips(ResponsesTable, 240, 5820, 10260, 2400);
  WorstLabel = MakeLabel(this, QStringLiteral("WorstLabel"), QString(), caption);
  PlaceTwips(WorstLabel, 240, 8340, 7440, 375);

  Command2 =
      MakeButton(this, QStringLiteral("Command2"), QStringLiteral("Close Form"), Arial(12, true));
  PlaceTwips(Command2, 7980, 8280, 2520, 555);
  Label3 = MakeLabel(this, QStringLiteral("Label3"),
                     QStringLiteral("Arrow keys walk the weights; Tab goes on to the responses."),
                     Arial(8.25, false, true));
  Label3->setAlignment(Qt::AlignCenter);
  PlaceTwips(Label3, 120, 9000, 10500, 375);

  QWidget::setTabOrder(WeightMap, ResponsesTable);
  QWidget::setTabOrder(ResponsesTable, Command2);

  work_.setSingleShot(true);
  connect(&work_, &QTimer::timeout, this, &ViewWeights::DoWork);
  const auto wantWork = [this] {
    if (!work_.isActive()) work_.start(0);
  };
  connect(WeightMap, &WeightMapView::workNeeded, this, wantWork);
  connect(responses_, &ResponsesModel::workNeeded, this, wantWork);
  connect(WeightMap, &WeightMapView::currentChanged, this, &ViewWeights::ShowCurrentCell);
  connect(WeightMap, &WeightMapView::drawn, this, [this] {
    ShowZoomAndScale();
    ShowCurrentCell();
  });
  connect(WeightMap, &WeightMapView::contextMenuRequested, this, &ViewWeights::ShowMenu);
  connect(ResponsesTable, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { ShowMenu(ResponsesTable->viewport()->mapToGlobal(at)); });
  ResponsesTable->installEventFilter(this);  // Shift+F10 opens its menu
  connect(responses_, &ResponsesModel::worstFound, this, &ViewWeights::ShowWorst);
  connect(ResponsesTable->verticalScrollBar(), &QScrollBar::valueChanged, this,
          &ViewWeights::TellRowsInView);
  connect(Command2, &QPushButton::clicked, this, &ViewWeights::Command2_Click);
  connect(&registry, &PageRegistry::networkChanged, this, &ViewWeights::ShowNetwork);
}

void ViewWeights::Form_Load() {
  ShowNetwork();
  frame_.StartUp();
}

void ViewWeights::ShowNetwork() {
  registry().SetWantsLiveWeights(false);  // until these are drawn
  const PublicStuff& state = State();
  const bool ready = state.NetworkFitsTrainingSet();
  WeightMap->Show(ready ? &state : nullptr, regionalSettings());
  responses_->Show(ready ? &state : nullptr, regionalSettings());
  TellRowsInView();
  if (!ready) {
    CellLabel->setText(
        QStringLiteral("The memory has not been set up for the training file %1 yet. Train it "
                       "on the set-up page, and its weights show here.")
            .arg(QString::fromStdString(state.TrainingFileName)));
    WorstLabel->clear();
  }
}

void ViewWeights::TellRowsInView() {
  const int first = std::max(ResponsesTable->rowAt(0), 0);
  const int last = ResponsesTable->rowAt(ResponsesTable->viewport()->height() - 1);
  responses_->SetRowsInView(first, last < 0 ? responses_->rowCount() - 1 : last);
}

void ViewWeights::DoWork() {
  const auto slice = registry().TrainingRunGoing() ? kSliceWhileTraining : kSlice;
  const auto start = std::chrono::steady_clock::now();
  bool done = WeightMap->Work(slice);
  const auto left = slice - (std::chrono::steady_clock::now() - start);
  if (done && left > left.zero()) done = responses_->Work(left);
  const bool more = !done || WeightMap->NeedsWork() || responses_->NeedsWork();
  if (more) work_.start(0);
  registry().SetWantsLiveWeights(!more);
}

void ViewWeights::FinishWork() {
  while (WeightMap->NeedsWork() || responses_->NeedsWork()) {
    WeightMap->Work(std::chrono::hours(1));
    responses_->Work(std::chrono::hours(1));
  }
}

void ViewWeights::ShowCurrentCell() {
  if (WeightMap->GridRows() == 0) return;
  CellLabel->setText(QStringLiteral("Input unit %1 to output unit %2: weight %3")
                         .arg(WeightMap->CurrentInput() + 1)
                         .arg(WeightMap->CurrentOutput() + 1)
                         .arg(WeightMap->CurrentWeightText()));
}

void ViewWeights::ShowZoomAndScale() {
  ColourKey->SetScale(WeightMap->Scale(), regionalSettings());
  if (WeightMap->GridRows() == 0) {
    ZoomLabel->clear();
    return;
  }
  const double cell = WeightMap->CellPixels();
  ZoomLabel->setText(WeightMap->FitsTheView()
                         ? (cell < 1 ? QStringLiteral("The whole memory, each point the largest "
                                                      "weight of the units it covers.")
                                     : QStringLiteral("The whole memory."))
                         : QStringLiteral("Zoomed in: %1 pixels a unit.").arg(cell, 0, 'f', 1));
}

void ViewWeights::ShowWorst() {
  if (const std::optional<int> worst = responses_->WorstPattern()) {
    WorstLabel->setText(QStringLiteral("Worst pattern: %1, with an SSE of %2 (marked in the table)")
                            .arg(*worst)
                            .arg(QString::fromStdString(
                                GeneralNumberText(responses_->SSE(*worst), regionalSettings()))));
    ResponsesTable->setAccessibleDescription(WorstLabel->text());
  }
}

void ViewWeights::ShowMenu(const QPoint& globalPos) {
  QMenu menu(this);
  connect(menu.addAction(QStringLiteral("Save Weights As…")), &QAction::triggered, this,
          &ViewWeights::SaveWeightsAs);
  connect(menu.addAction(QStringLiteral("Save Responses As…")), &QAction::triggered, this,
          &ViewWeights::SaveResponsesAs);
  connect(menu.addAction(QStringLiteral("Save Picture As…")), &QAction::triggered, this,
          &ViewWeights::SavePictureAs);
  // From the keyboard a screen reader hears the first item at once.
  menu.setActiveAction(menu.actions().constFirst());
  menu.exec(globalPos);
}

void ViewWeights::SaveWeightsAs() {
  SaveCsv(QStringLiteral("Save Weights As"), QStringLiteral("weights.csv"), WriteWeightsCsv);
}

void ViewWeights::SaveResponsesAs() {
  SaveCsv(QStringLiteral("Save Responses As"), QStringLiteral("responses.csv"), WriteResponsesCsv);
}

void ViewWeights::SaveCsv(const QString& title, const QString& name,
                          bool (*write)(const PublicStuff&, const ByteSink&)) {
  if (!NetworkReady()) return;
  SaveAs(this, platform(), title, registry().remembered().trainingFolder, name,
         QStringLiteral("Comma-separated values (*.csv)"), QStringLiteral("csv"),
         [this, write](const QString& path) {
           return SaveText(path, QStringLiteral("csv"),
                           [this, write](const ByteSink& sink) { return write(State(), sink); });
         });
}

bool ViewWeights::NetworkReady() {
  if (State().NetworkFitsTrainingSet()) return true;
  platform().messageBox().Show(this, CellLabel->text(), QStringLiteral("Nothing To Save"),
                               MessageIcon::Warning);
  return false;
}

void ViewWeights::SavePictureAs() {
  if (!NetworkReady()) return;
  SaveAs(this, platform(), QStringLiteral("Save Picture As"),
         registry().remembered().trainingFolder, QStringLiteral("weights.png"),
         QStringLiteral("Pictures (*.png *.svg)"), QStringLiteral("png"),
         [this](const QString& path) {
           FinishWork();  // the picture shows the weights as they are
           return SavePicture(path, WeightMap->viewport()->size(), WeightsLabel->text(),
                              [this](QPainter& painter) { WeightMap->DrawPicture(painter); });
         });
}

bool ViewWeights::eventFilter(QObject* watched, QEvent* event) {
  // Shift+F10 opens the table's menu from the keyboard, as the Menu key does.
  if (watched == ResponsesTable && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier) {
      ShowMenu(ResponsesTable->mapToGlobal(QPoint(8, 8)));
      return true;
    }
  }
  return Page::eventFilter(watched, event);
}

void ViewWeights::Command2_Click() { registry().Close(PageId::ViewWeights); }

void ViewWeights::closeEvent(QCloseEvent* event) {
  registry().SetWantsLiveWeights(false);
  Page::closeEvent(event);
}

Page* CreateViewWeights(PageRegistry& registry) { return new ViewWeights(registry); }

}  // namespace corvel
