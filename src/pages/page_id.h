#pragma once
// The program's six pages.

#include <array>

namespace corvel {

enum class PageId { Network1, DistMem, TestDAM, ProbeNetwork, SaveResults, PlotSSEdata };

constexpr std::array<PageId, 6> kAllPages = {PageId::Network1,    PageId::DistMem,
                                             PageId::TestDAM,     PageId::ProbeNetwork,
                                             PageId::SaveResults, PageId::PlotSSEdata};

}  // namespace corvel
