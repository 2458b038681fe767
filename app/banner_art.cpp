#include "banner_art.h"

#include <algorithm>
#include <cmath>

namespace {

struct Point {
    float x, y;
};

// Distance from p to the segment a-b.
float DistanceToSegment(Point p, Point a, Point b)
{
    const float dx = b.x - a.x;
    const float dy = b.y - a.y;
    const float length2 = dx * dx + dy * dy;
    float t = length2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / length2 : 0.0f;
    t = std::clamp(t, 0.0f, 1.0f);
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

// Where the design's strokes land in a picture of this size.
class Placement {
public:
    Placement(const BannerDesign& design, int width, int height)
        : unit_(static_cast<float>(design.unit)),
          scale_(std::min(static_cast<float>(height) / design.height, static_cast<float>(width) / design.width)),
          top_((height - design.height * scale_) / 2),
          right_(static_cast<float>(width))
    {
    }

    Point At(BannerAnchor anchor, BannerPoint p) const
    {
        const float x = p.x / unit_ * scale_;
        return {anchor == BannerAnchor::Right ? right_ + x : x, top_ + p.y / unit_ * scale_};
    }
    float Length(int designLength) const { return designLength / unit_ * scale_; }

private:
    float unit_;
    float scale_;
    float top_;
    float right_;
};

// The share of each pixel that a round-capped stroke of this radius along
// a-b covers, merged into `coverage` (the strokes' union): a pixel whose
// centre lies half a pixel inside the edge is covered, one half a pixel
// outside it is not, and the share runs linearly between.
void CoverSegment(std::vector<float>& coverage, int width, int height, Point a, Point b, float radius)
{
    const float reach = radius + 1;
    const int x0 = std::max(0, static_cast<int>(std::floor(std::min(a.x, b.x) - reach)));
    const int x1 = std::min(width, static_cast<int>(std::ceil(std::max(a.x, b.x) + reach)));
    const int y0 = std::max(0, static_cast<int>(std::floor(std::min(a.y, b.y) - reach)));
    const int y1 = std::min(height, static_cast<int>(std::ceil(std::max(a.y, b.y) + reach)));
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            const float share = radius + 0.5f - DistanceToSegment({x + 0.5f, y + 0.5f}, a, b);
            float& pixel = coverage[static_cast<size_t>(y) * width + x];
            pixel = std::max(pixel, std::min(share, 1.0f));
        }
    }
}

std::vector<float> StrokeCoverage(const BannerDesign& design, int width, int height)
{
    std::vector<float> coverage(static_cast<size_t>(width) * height, 0.0f);
    const Placement placement(design, width, height);
    for (size_t s = 0; s < design.strokeCount; ++s) {
        const BannerStroke& stroke = design.strokes[s];
        const float radius = placement.Length(stroke.width) / 2;
        const BannerPoint* points = design.points + stroke.first;
        Point previous = placement.At(stroke.anchor, points[0]);
        CoverSegment(coverage, width, height, previous, previous, radius);
        for (int i = 1; i < stroke.count; ++i) {
            const Point next = placement.At(stroke.anchor, points[i]);
            CoverSegment(coverage, width, height, previous, next, radius);
            previous = next;
        }
    }
    return coverage;
}

std::uint8_t Channel(float value)
{
    return static_cast<std::uint8_t>(std::lround(std::clamp(value, 0.0f, 255.0f)));
}

}  // namespace

BannerPicture DrawBanner(const BannerDesign& design, int width, int height, const BannerSchemeColours* scheme)
{
    BannerPicture picture;
    if (width <= 0 || height <= 0)
        return picture;
    picture.width = width;
    picture.height = height;
    picture.stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
    picture.bgr.assign(picture.stride * height, 0);

    const std::vector<float> coverage = StrokeCoverage(design, width, height);
    const BannerRgb from = scheme ? scheme->background : design.topLeft;
    const BannerRgb to = scheme ? scheme->background : design.bottomRight;
    const BannerRgb stroke = scheme ? scheme->stroke : BannerRgb{255, 255, 255};
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = picture.bgr.data() + picture.stride * y;
        for (int x = 0; x < width; ++x) {
            const float t = ((x + 0.5f) / width + design.slope * (y + 0.5f) / height) / (1 + design.slope);
            const float covered = coverage[static_cast<size_t>(y) * width + x];
            const auto shade = [t, covered](std::uint8_t a, std::uint8_t b, std::uint8_t ink) {
                const float base = a + (b - a) * t;
                return Channel(base + (ink - base) * covered);
            };
            row[3 * x] = shade(from.b, to.b, stroke.b);
            row[3 * x + 1] = shade(from.g, to.g, stroke.g);
            row[3 * x + 2] = shade(from.r, to.r, stroke.r);
        }
    }
    return picture;
}
