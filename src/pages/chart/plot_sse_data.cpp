#include "pages/chart/plot_sse_data.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>

#include "pages/chart/chart_printout.h"
#include "pages/chart/sse_chart.h"
#include "pages/frame/designs.h"
#include "pages/page_controls.h"
#include "pages/page_factories.h"
#include "pages/page_registry.h"
#include "pages/print_or_pdf.h"
#include "pages/saved_files.h"
#include "platform/platform.h"
#include "platform/twips.h"
#include "report/sse_history.h"

namespace corvel {

PlotSSEdata::PlotSSEdata(PageRegistry& registry)
    : Page(registry, PageId::PlotSSEdata,
           QStringLiteral("Graph of SSE as a function of sweeps of training")),
      frame_(this, kPlotSSEdataDesign) {
  Label1 = MakeLabel(
      this, QStringLiteral("Label1"),
      QStringLiteral("To work with this graph electronically, return to the previous page and "
                     "create an Excel spreadsheet.  The data used to create this graph is saved "
                     "on one of the worksheets in the spreadsheet that is created, and can be "
                     "used to create a chart that could be imported into other software "
                     "packages, such as a word processor."),
      font());
  PlaceTwips(Label1, 240, 120, 10140, 900);

  SSEgraph = new SSEChart(this);
  SSEgraph->setObjectName(QStringLiteral("SSEgraph"));
  PlaceTwips(SSEgraph, 240, 1080, 10140, 6780);
  // The chart's menu is its only way to its files and its scale; say so where it shows.
  const QString menu = QStringLiteral(
      "Right-click the chart, or press the Menu key or Shift+F10 on it, to copy or save the "
      "picture, save the numbers, or switch to a logarithmic SSE scale.");
  SSEgraph->setToolTip(menu);
  SSEgraph->setAccessibleDescription(menu);
  ChartMenuLabel =
      MakeLabel(this, QStringLiteral("ChartMenuLabel"), menu, Arial(8.25, false, true));
  ChartMenuLabel->setAlignment(Qt::AlignCenter);
  PlaceTwips(ChartMenuLabel, 240, 7890, 10140, 405);

  PrintThisGraph = MakeButton(this, QStringLiteral("PrintThisGraph"),
                              QStringLiteral("Print The Graph"), Arial(12, true));
  PlaceTwips(PrintThisGraph, 240, 8340, 3000, 615);
  CloseThisForm = MakeButton(this, QStringLiteral("CloseThisForm"),
                             QStringLiteral("Exit This Page"), Arial(12, true));
  PlaceTwips(CloseThisForm, 7380, 8340, 3000, 615);

  connect(PrintThisGraph, &QPushButton::clicked, this, &PlotSSEdata::PrintThisGraph_Click);
  connect(CloseThisForm, &QPushButton::clicked, this, &PlotSSEdata::CloseThisForm_Click);
  connect(SSEgraph, &SSEChart::copyPictureRequested, this, &PlotSSEdata::CopyPicture);
  connect(SSEgraph, &SSEChart::savePictureRequested, this, &PlotSSEdata::SavePictureAs);
  connect(SSEgraph, &SSEChart::saveDataRequested, this, &PlotSSEdata::SaveDataAs);
  // The scale chosen stays the chart's for the rest of the program's run.
  connect(SSEgraph, &SSEChart::logarithmicChosen, this, [&registry](bool logarithmic) {
    registry.remembered().logarithmicSSEScale = logarithmic;
  });
}

void PlotSSEdata::Form_Load() {
  SSEgraph->Build(SSEHistoryPoints(State()), regionalSettings(),
                  registry().remembered().logarithmicSSEScale);
  frame_.StartUp();
}

void PlotSSEdata::PrintThisGraph_Click() {
  // The picture goes by way of the clipboard, where it stays for other programs.
  CopyPicture();
  PrintOrOfferPdf(this, platform(), ChartPrintout(platform().clipboard().Picture()),
                  registry().remembered().trainingFolder);
}

void PlotSSEdata::CloseThisForm_Click() { registry().Close(PageId::PlotSSEdata); }

void PlotSSEdata::CopyPicture() { platform().clipboard().SetPicture(SSEgraph->Picture()); }

void PlotSSEdata::SavePictureAs() {
  SaveAs(this, platform(), QStringLiteral("Save Picture As"),
         registry().remembered().trainingFolder, QStringLiteral("sse-chart.png"),
         QStringLiteral("Pictures (*.png *.svg)"), QStringLiteral("png"),
         [this](const QString& path) {
           return SavePicture(path, SSEgraph->size(), SSEgraph->Title(),
                              [this](QPainter& painter) { SSEgraph->DrawPicture(painter); });
         });
}

void PlotSSEdata::SaveDataAs() {
  SaveAs(this, platform(), QStringLiteral("Save Data As"), registry().remembered().trainingFolder,
         QStringLiteral("sse-data.csv"), QStringLiteral("Comma-separated values (*.csv)"),
         QStringLiteral("csv"), [this](const QString& path) {
           const std::string csv = SSEHistoryCsv(SSEgraph->points());
           return SaveText(path, QStringLiteral("csv"),
                           [&csv](const ByteSink& sink) { return sink(csv); });
         });
}

Page* CreatePlotSSEdata(PageRegistry& registry) { return new PlotSSEdata(registry); }

}  // namespace corvel
