#include "pages/hub/test_dam.h"

#include <QLabel>
#include <QPushButton>

#include "pages/frame/designs.h"
#include "pages/page_controls.h"
#include "pages/page_factories.h"
#include "pages/page_registry.h"
#include "platform/line_control.h"
#include "platform/list_box.h"
#include "platform/platform.h"
#include "platform/twips.h"
#include "state/public_stuff.h"

namespace corvel {
namespace {

// Each list hangs under its heading, and a screen reader names the list by that heading.
ListBox* ChoiceList(QWidget* page, const QString& name, QLabel* heading, const QStringList& items) {
  auto* list = Named(new ListBox(items, page), name, Arial(12, true));
  list->setAccessibleName(heading->text());
  return list;
}

}  // namespace

TestDAM::TestDAM(PageRegistry& registry)
    : Page(registry, PageId::TestDAM,
           QStringLiteral(
               "Testing The Distributed Associative Memory -- Talvik Neural Network Code")),
      frame_(this, kTestDAMDesign) {
  const QFont bold = Arial(12, true);
  Label5 = MakeLabel(this, QStringLiteral("Label5"),
                     QStringLiteral("Choose A Method For Examining Network Performance By "
                                    "Double-Clicking One Of The List Items Below:"),
                     bold);
  PlaceTwips(Label5, 360, 360, 10275, 660);
  TestList = ChoiceList(
      this, QStringLiteral("TestList"), Label5,
      {QStringLiteral("Probe Network Responses To Selected Patterns"),
       QStringLiteral("Save Summary As A Text File"), QStringLiteral("Plot SSE By Sweeps")});
  PlaceTwips(TestList, 960, 1200, 9075, 1200);

  Line1 = new LineControl(this);
  Line1->setObjectName(QStringLiteral("Line1"));
  Line1->SetEnds(360, 3000, 10635, 3000);

  Label4 = MakeLabel(this, QStringLiteral("Label4"),
                     QStringLiteral("Choose A Method For Continuing Training By Double-Clicking "
                                    "One Of The List Items Below:"),
                     bold);
  PlaceTwips(Label4, 360, 3480, 10275, 660);
  ContinueList = ChoiceList(this, QStringLiteral("ContinueList"), Label4,
                            {QStringLiteral("Reset Weights And Train Again"),
                             QStringLiteral("Keep Current Weights And Continue Training"),
                             QStringLiteral("Train A New Network On A New Problem")});
  PlaceTwips(ContinueList, 960, 4320, 9075, 1200);

  Label1 = MakeLabel(this, QStringLiteral("Label1"), QStringLiteral("Or...."), bold);
  PlaceTwips(Label1, 360, 6120, 2400, 375);
  Command2 = MakeButton(this, QStringLiteral("Command2"), QStringLiteral("Exit Program"),
                        Arial(12, true, true));
  PlaceTwips(Command2, 960, 6720, 3000, 615);
  // Beside "Exit Program", where it moves none of the page's controls; Alt+V presses it.
  ViewWeights = MakeButton(this, QStringLiteral("ViewWeights"),
                           QStringLiteral("View Weights And Responses"), Arial(12, true));
  ViewWeights->setText(QStringLiteral("&View Weights And Responses"));
  PlaceTwips(ViewWeights, 4320, 6720, 5715, 615);

  Label3 = MakeLabel(this, QStringLiteral("Label3"),
                     QStringLiteral("Double-click an item, or select it and press Enter. \"View "
                                    "Weights And Responses\", beside Exit Program, shows the "
                                    "whole memory. Pages opened here stay open until closed."),
                     Arial(8.25, false, true));
  Label3->setAlignment(Qt::AlignCenter);
  PlaceTwips(Label3, 120, 8760, 10755, 375);

  connect(TestList, &ListBox::DblClick, this, &TestDAM::TestList_DblClick);
  connect(ContinueList, &ListBox::DblClick, this, &TestDAM::ContinueList_DblClick);
  connect(Command2, &QPushButton::clicked, this, &TestDAM::Command2_Click);
  connect(ViewWeights, &QPushButton::clicked, this, &TestDAM::ViewWeights_Click);
}

void TestDAM::Form_Load() { frame_.StartUp(); }

void TestDAM::TestList_DblClick() {
  static constexpr PageId kExamine[] = {PageId::ProbeNetwork, PageId::SaveResults,
                                        PageId::PlotSSEdata};
  const int choice = TestList->ListIndex();
  if (choice < 0) {
    ShowNothingSelected();
    return;
  }
  registry().Open(kExamine[choice]);  // the hub stays open
}

void TestDAM::ContinueList_DblClick() {
  PageRegistry& pages = registry();
  switch (ContinueList->ListIndex()) {
    case 0:  // "Reset Weights And Train Again": the set-up page makes the network afresh
      pages.RequestFreshNetwork();
      pages.Open(PageId::DistMem);
      pages.Close(PageId::TestDAM);
      break;
    case 1:  // "Keep Current Weights And Continue Training"
      State().NewRun = 0;
      pages.Open(PageId::DistMem);
      pages.Close(PageId::TestDAM);
      break;
    case 2:  // "Train A New Network On A New Problem"
      pages.Open(PageId::Network1);
      pages.Close(PageId::TestDAM);
      pages.Close(PageId::DistMem);
      break;
    default:
      ShowNothingSelected();
  }
}

void TestDAM::ViewWeights_Click() { registry().Open(PageId::ViewWeights); }

void TestDAM::Command2_Click() {
  PageRegistry& pages = registry();
  pages.Close(PageId::TestDAM);
  pages.Close(PageId::DistMem);  // the program ends here unless another page is open
}

void TestDAM::ShowNothingSelected() {
  platform().messageBox().Show(this, QStringLiteral("No method for continuing has been selected!"),
                               QStringLiteral("Corvel Duvu"), MessageIcon::None);
}

Page* CreateTestDAM(PageRegistry& registry) { return new TestDAM(registry); }

}  // namespace corvel
