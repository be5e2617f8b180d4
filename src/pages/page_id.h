#pragma once
// The program's pages: the six of the exercise and the weights page.

#include <array>

namespace corvel {

enum class PageId {
  Network1,
  DistMem,
  TestDAM,
  ProbeNetwork,
  SaveResults,
  PlotSSEdata,
  ViewWeights
};

constexpr std::array<PageId, 7> kAllPages = {
    PageId::Network1,    PageId::DistMem,     PageId::TestDAM,    PageId::ProbeNetwork,
    PageId::SaveResults, PageId::PlotSSEdata, PageId::ViewWeights};

}  // namespace corvel
