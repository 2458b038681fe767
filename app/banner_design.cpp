#include "banner_design.h"

#include <iterator>

namespace {
#include "banner_design.inc"
}  // namespace

const BannerDesign& TheBannerDesign()
{
    static constexpr BannerDesign design{kDesignWidth, kDesignHeight, kDesignUnit, kTopLeft, kBottomRight,
                                         kSlope,       kStrokes,      std::size(kStrokes), kPoints};
    return design;
}
