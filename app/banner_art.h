#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "banner_design.h"

// The banner drawn for one size, as a 24 bpp top-down DIB holds it: rows of
// blue, green, red, each padded to a multiple of four bytes.
struct BannerPicture {
    int width = 0;
    int height = 0;
    std::size_t stride = 0;
    std::vector<std::uint8_t> bgr;
};

// The colours of a high-contrast scheme the banner is drawn in instead of
// its own: the window's background under strokes of the window's text.
struct BannerSchemeColours {
    BannerRgb background;
    BannerRgb stroke;
};

// Draws the design at width x height px. The strokes are scaled evenly by
// the largest factor with which the design's box fits (so they keep their
// proportions) and centred vertically; the gradient spans the whole picture.
// With scheme colours, the same strokes on a plain background.
BannerPicture DrawBanner(const BannerDesign& design, int width, int height,
                         const BannerSchemeColours* scheme = nullptr);
