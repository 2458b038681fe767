#pragma once

#include <cstddef>
#include <cstdint>

// The banner's artwork as scripts/draw-resources designs it at 100%: a
// diagonal gradient under white round-capped strokes (the title on the left,
// the download mark on the right). The program draws the banner from it at
// any size; the script draws the 100% bitmap from the same strokes.

// Which edge a stroke keeps its distance to when the banner is wider than
// the design's proportions.
enum class BannerAnchor : std::uint8_t { Left, Right };

struct BannerRgb {
    std::uint8_t r, g, b;
};

// In 1/unit px; a right-anchored x counts from the right edge (negative).
struct BannerPoint {
    std::int16_t x, y;
};

// A polyline of `count` points from `first`, stroked `width` wide (1/unit px).
struct BannerStroke {
    BannerAnchor anchor;
    std::uint16_t width;
    std::uint16_t first;
    std::uint16_t count;
};

struct BannerDesign {
    int width;
    int height;
    int unit;
    BannerRgb topLeft;
    BannerRgb bottomRight;
    // The gradient's weight of the vertical position against the horizontal.
    float slope;
    const BannerStroke* strokes;
    std::size_t strokeCount;
    const BannerPoint* points;
};

const BannerDesign& TheBannerDesign();
