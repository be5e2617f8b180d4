#include "pages/page_factories.h"
#include "pages/placeholder/placeholder_page.h"

namespace corvel {

void RegisterAllPages(PageRegistry& registry) {
  registry.Register(PageId::Network1, CreateNetwork1);
#ifdef CORVEL_HAVE_SETUP_PAGE
  registry.Register(PageId::DistMem, CreateDistMem);
#else
  registry.Register(PageId::DistMem,
                    [](PageRegistry& r) { return CreatePlaceholder(r, PageId::DistMem); });
#endif
  for (PageId id : {PageId::TestDAM, PageId::ProbeNetwork, PageId::SaveResults,
                    PageId::PlotSSEdata})
    registry.Register(id, [id](PageRegistry& r) { return CreatePlaceholder(r, id); });
}

}  // namespace corvel
