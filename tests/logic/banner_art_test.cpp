// The banner drawn at run time is the script's design at any size: the 100%
// drawing matches the script's bitmap, and other sizes scale its strokes
// evenly, keep the mark at the right edge and fill every pixel.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "banner_art.h"

namespace {

// The script's banner.bmp: 24 bpp, bottom-up, BGR.
constexpr std::uint8_t kScriptBitmap[] = {
#include "banner_bmp.inc"
};

struct Box {
    int left, top, right, bottom;  // right and bottom exclusive
};

const std::uint8_t* Pixel(const BannerPicture& picture, int x, int y)
{
    return picture.bgr.data() + picture.stride * y + 3 * x;
}

// The box of the white strokes: pixels brighter than any gradient colour.
Box StrokeBox(const BannerPicture& picture)
{
    Box box{picture.width, picture.height, 0, 0};
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            if (Pixel(picture, x, y)[2] < 160)  // red: at most 14 in the gradient
                continue;
            box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1), std::max(box.bottom, y + 1)};
        }
    }
    return box;
}

TEST(BannerArt, AtTheDesignSizeItMatchesTheScriptsBitmap)
{
    const BannerDesign& design = TheBannerDesign();
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint32_t offset = 0;
    std::memcpy(&offset, kScriptBitmap + 10, 4);
    std::memcpy(&width, kScriptBitmap + 18, 4);
    std::memcpy(&height, kScriptBitmap + 22, 4);
    ASSERT_EQ(width, design.width);
    ASSERT_EQ(height, design.height);

    const BannerPicture drawn = DrawBanner(design, width, height);
    ASSERT_EQ(drawn.stride, (static_cast<size_t>(width) * 3 + 3) / 4 * 4);
    long total = 0;
    long strayed = 0;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* scriptRow = kScriptBitmap + offset + drawn.stride * (height - 1 - y);
        for (int i = 0; i < width * 3; ++i) {
            const int difference = std::abs(Pixel(drawn, 0, y)[i] - scriptRow[i]);
            total += difference;
            strayed += difference > 48;
        }
    }
    const double mean = static_cast<double>(total) / (width * height * 3);
    EXPECT_LT(mean, 1.5);
    // Only edge pixels differ noticeably, where the two ways of covering a
    // pixel round differently.
    EXPECT_LT(strayed, width * height * 3 / 200);
}

TEST(BannerArt, StrokesScaleEvenlyWithTheHeight)
{
    const BannerDesign& design = TheBannerDesign();
    const Box base = StrokeBox(DrawBanner(design, design.width, design.height));
    for (const int factor : {2, 3}) {
        const Box scaled = StrokeBox(DrawBanner(design, design.width * factor, design.height * factor));
        EXPECT_NEAR(scaled.left, base.left * factor, factor) << factor;
        EXPECT_NEAR(scaled.top, base.top * factor, factor) << factor;
        EXPECT_NEAR(scaled.right, base.right * factor, factor) << factor;
        EXPECT_NEAR(scaled.bottom, base.bottom * factor, factor) << factor;
    }
}

// A wider dialog font widens the banner more than its height: the title
// keeps its place on the left, the mark its distance to the right edge.
TEST(BannerArt, AWiderBannerOnlyWidensTheGradientBetweenTitleAndMark)
{
    const BannerDesign& design = TheBannerDesign();
    const Box base = StrokeBox(DrawBanner(design, design.width, design.height));
    const int wider = design.width + 82;
    const Box box = StrokeBox(DrawBanner(design, wider, design.height));
    EXPECT_EQ(box.left, base.left);
    EXPECT_EQ(box.top, base.top);
    EXPECT_EQ(box.bottom, base.bottom);
    EXPECT_EQ(wider - box.right, design.width - base.right);
}

// A narrower one scales the strokes to the width and centres them.
TEST(BannerArt, ANarrowerBannerFitsTheStrokesAndCentresThem)
{
    const BannerDesign& design = TheBannerDesign();
    const Box base = StrokeBox(DrawBanner(design, design.width, design.height));
    const BannerPicture half = DrawBanner(design, design.width / 2, design.height);
    const Box box = StrokeBox(half);
    EXPECT_NEAR(box.right - box.left, (base.right - base.left) / 2, 2);
    EXPECT_NEAR(box.top + box.bottom, half.height, 2);
}

TEST(BannerArt, TheGradientRunsFromTheTopLeftToTheBottomRightColour)
{
    const BannerDesign& design = TheBannerDesign();
    const BannerPicture picture = DrawBanner(design, 830, 86);
    const std::uint8_t* topLeft = Pixel(picture, 0, 0);
    const std::uint8_t* bottomRight = Pixel(picture, picture.width - 1, picture.height - 1);
    EXPECT_NEAR(topLeft[0], design.topLeft.b, 2);
    EXPECT_NEAR(topLeft[1], design.topLeft.g, 2);
    EXPECT_NEAR(topLeft[2], design.topLeft.r, 2);
    EXPECT_NEAR(bottomRight[0], design.bottomRight.b, 2);
    EXPECT_NEAR(bottomRight[1], design.bottomRight.g, 2);
    EXPECT_NEAR(bottomRight[2], design.bottomRight.r, 2);
}

// High contrast: the same strokes in the scheme's text colour on its plain
// window background, and no colour of the design's anywhere.
TEST(BannerArt, SchemeColoursDrawTheSameStrokesOnAPlainBackground)
{
    const BannerDesign& design = TheBannerDesign();
    const BannerSchemeColours whiteOnBlack{{0, 0, 0}, {255, 255, 255}};
    const BannerPicture contrast = DrawBanner(design, 830, 86, &whiteOnBlack);
    const Box box = StrokeBox(contrast);
    const Box own = StrokeBox(DrawBanner(design, 830, 86));
    // Within the pixel that the threshold of StrokeBox may tip either way.
    EXPECT_NEAR(box.left, own.left, 1);
    EXPECT_NEAR(box.top, own.top, 1);
    EXPECT_NEAR(box.right, own.right, 1);
    EXPECT_NEAR(box.bottom, own.bottom, 1);

    const BannerSchemeColours blackOnYellow{{255, 255, 0}, {0, 0, 0}};
    const BannerPicture inverse = DrawBanner(design, 830, 86, &blackOnYellow);
    for (int y = 0; y < contrast.height; ++y) {
        for (int x = 0; x < contrast.width; ++x) {
            const std::uint8_t* grey = Pixel(contrast, x, y);
            ASSERT_TRUE(grey[0] == grey[1] && grey[1] == grey[2]) << x << "," << y;
            // Where white covers black by a share, black covers yellow by it.
            const std::uint8_t* mixed = Pixel(inverse, x, y);
            ASSERT_EQ(mixed[0], 0) << x << "," << y;
            ASSERT_NEAR(mixed[1], 255 - grey[1], 1) << x << "," << y;
            ASSERT_EQ(mixed[1], mixed[2]) << x << "," << y;
        }
    }
}

TEST(BannerArt, AnEmptySizeGivesAnEmptyPicture)
{
    EXPECT_TRUE(DrawBanner(TheBannerDesign(), 0, 58).bgr.empty());
    EXPECT_TRUE(DrawBanner(TheBannerDesign(), 499, -1).bgr.empty());
}

}  // namespace
