#pragma once
// The factories of the pages. Each page's folder defines the factory of its own page,
// so pages never include one another; RegisterAllPages hands them to the registry.

#include "pages/page_registry.h"

namespace corvel {

Page* CreateNetwork1(PageRegistry& registry);      // pages/trainingfile
Page* CreateDistMem(PageRegistry& registry);       // pages/setup
Page* CreateTestDAM(PageRegistry& registry);       // pages/hub
Page* CreateProbeNetwork(PageRegistry& registry);  // pages/probe
Page* CreateSaveResults(PageRegistry& registry);   // pages/save
Page* CreatePlotSSEdata(PageRegistry& registry);   // pages/chart
Page* CreateViewWeights(PageRegistry& registry);   // pages/weights

// Registers every page of the program with `registry`.
void RegisterAllPages(PageRegistry& registry);

}  // namespace corvel
