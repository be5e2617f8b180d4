#include "pages/page_factories.h"

namespace corvel {

void RegisterAllPages(PageRegistry& registry) {
  registry.Register(PageId::Network1, CreateNetwork1);
  registry.Register(PageId::DistMem, CreateDistMem);
  registry.Register(PageId::TestDAM, CreateTestDAM);
  registry.Register(PageId::ProbeNetwork, CreateProbeNetwork);
  registry.Register(PageId::SaveResults, CreateSaveResults);
  registry.Register(PageId::PlotSSEdata, CreatePlotSSEdata);
  registry.Register(PageId::ViewWeights, CreateViewWeights);
}

}  // namespace corvel
