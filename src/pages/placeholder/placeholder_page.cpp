#include "pages/placeholder/placeholder_page.h"

#include <QLabel>
#include <QPushButton>
#include <QShortcut>

#include "pages/frame/designs.h"
#include "pages/page_registry.h"
#include "platform/twips.h"

namespace corvel {

PlaceholderPage::PlaceholderPage(PageRegistry& registry, const Design& design)
    : Page(registry, design.id, design.caption),
      frame_(this, design.frame),
      button_(new QPushButton(design.buttonCaption, this)) {
  auto* notice = new QLabel(QStringLiteral("This page is not available yet."), this);
  notice->setObjectName(QStringLiteral("Label3"));
  notice->setAlignment(Qt::AlignCenter);
  PlaceTwips(notice, 240, 240, design.frame.ClientWidth() - 480, 600);
  button_->setObjectName(design.buttonName);
  button_->setAccessibleName(design.buttonCaption);
  button_->setAutoDefault(true);
  PlaceTwips(button_, design.frame.ClientWidth() / 2 - 1200, 1200, 2400, 495);
  connect(button_, &QPushButton::clicked, this, &PlaceholderPage::Button_Click);
  // Esc does what the page's closing button does.
  connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, button_,
          &QPushButton::click);
}

void PlaceholderPage::Form_Load() { frame_.StartUp(); }

void PlaceholderPage::Button_Click() {
  PageRegistry& pages = registry();
  if (id() == PageId::DistMem) {  // "Exit" ends the program at once
    pages.ExitProgram();
    return;
  }
  // The hub's "Exit Program" also closes the set-up page under it.
  const bool closesSetup = id() == PageId::TestDAM;
  pages.Close(id());
  if (closesSetup) pages.Close(PageId::DistMem);
}

Page* CreatePlaceholder(PageRegistry& registry, PageId id) {
  auto design = [&]() -> PlaceholderPage::Design {
    switch (id) {
      case PageId::Network1:  // has its own page; never a placeholder
      case PageId::DistMem:
        return {id, QStringLiteral("Distributed Memory Setup Page -- Talvik Neural Network Code"),
                kDistMemDesign, QStringLiteral("Command2"), QStringLiteral("Exit")};
      case PageId::TestDAM:
        return {id,
                QStringLiteral(
                    "Testing The Distributed Associative Memory -- Talvik Neural Network Code"),
                kTestDAMDesign, QStringLiteral("Command2"), QStringLiteral("Exit Program")};
      case PageId::ProbeNetwork:
        return {id,
                QStringLiteral("Distributed Memory Program -- Probe Network Responses To "
                               "Selected Patterns"),
                kProbeNetworkDesign, QStringLiteral("Command2"), QStringLiteral("Close Form")};
      case PageId::SaveResults:
        return {id, QStringLiteral("Save Results To A Text File -- Talvik Neural Network Code"),
                kSaveResultsDesign, QStringLiteral("Command2"), QStringLiteral("Close")};
      case PageId::PlotSSEdata:
        break;
    }
    return {PageId::PlotSSEdata,
            QStringLiteral("Graph of SSE as a function of sweeps of training"),
            kPlotSSEdataDesign, QStringLiteral("CloseThisForm"), QStringLiteral("Exit This Page")};
  }();
  return new PlaceholderPage(registry, design);
}

}  // namespace corvel
