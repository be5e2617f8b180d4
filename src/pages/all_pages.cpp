#include "pages/page_factories.h"
#include "pages/placeholder/placeholder_page.h"

namespace corvel {

void RegisterAllPages(PageRegistry& registry) {
  registry.Register(PageId::Network1, CreateNetwork1);
  registry.Register(PageId::DistMem, CreateDistMem);
  registry.Register(PageId::TestDAM, CreateTestDAM);
  registry.Register(PageId::ProbeNetwork, CreateProbeNetwork);
  registry.Register(PageId::SaveResults, CreateSaveResults);
  registry.Register(PageId::PlotSSEdata, CreatePlaceholder);
}

}  // namespace corvel
