#include "pages/placeholder/placeholder_page.h"

#include <QLabel>
#include <QPushButton>

#include "pages/frame/designs.h"
#include "pages/page_controls.h"
#include "pages/page_registry.h"
#include "platform/twips.h"

namespace corvel {

PlaceholderPage::PlaceholderPage(PageRegistry& registry)
    : Page(registry, PageId::PlotSSEdata,
           QStringLiteral("Graph of SSE as a function of sweeps of training")),
      frame_(this, kPlotSSEdataDesign) {
  auto* notice = MakeLabel(this, QStringLiteral("Label3"),
                           QStringLiteral("This page is not available yet."), font());
  notice->setAlignment(Qt::AlignCenter);
  PlaceTwips(notice, 240, 240, kPlotSSEdataDesign.ClientWidth() - 480, 600);
  auto* close =
      MakeButton(this, QStringLiteral("CloseThisForm"), QStringLiteral("Exit This Page"), font());
  PlaceTwips(close, kPlotSSEdataDesign.ClientWidth() / 2 - 1200, 1200, 2400, 495);
  connect(close, &QPushButton::clicked, this,
          [this] { this->registry().Close(PageId::PlotSSEdata); });
}

void PlaceholderPage::Form_Load() { frame_.StartUp(); }

Page* CreatePlaceholder(PageRegistry& registry) { return new PlaceholderPage(registry); }

}  // namespace corvel
