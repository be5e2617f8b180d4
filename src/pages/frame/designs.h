#pragma once
// Each page's frame constants: outer design size and Corner size, in twips.

#include "pages/frame/page_frame.h"

namespace corvel {

inline constexpr FrameDesign kNetwork1Design{10785, 9540, 375, 375, -15};
inline constexpr FrameDesign kDistMemDesign{10860, 9900, 360, 405};
inline constexpr FrameDesign kTestDAMDesign{11115, 9750, 375, 390};
inline constexpr FrameDesign kSaveResultsDesign{10635, 9405, 390, 390};
inline constexpr FrameDesign kProbeNetworkDesign{10770, 9495, 390, 390};
inline constexpr FrameDesign kPlotSSEdataDesign{10740, 9600, 390, 375};
inline constexpr FrameDesign kViewWeightsDesign{10860, 9900, 390, 390};

}  // namespace corvel
