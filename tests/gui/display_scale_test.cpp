// The dialog at 100%, 150% and 200%: the banner spans the client area with a
// picture made for its size, and no text is cut off.
#include <windows.h>

#include "polling.h"
#include "prefix_dpi.h"
#include "product_test.h"

namespace gui_test {
namespace {

// The template's banner band and status line, in dialog units.
constexpr int kBannerHeightDlu = 36;
constexpr int kStatusHeightDlu = 8;
constexpr int kStaticTexts[] = {kStatus, kFileLabel, kTotalLabel, kRefusal};

// The banner is as wide as the client area, as high as the template's band
// (the status line's height is one vertical base unit), and shows a picture
// of exactly its own size.
void ExpectBannerSpansTheDialog(const uidriver::DialogDriver& dialog)
{
    const SIZE client = dialog.ClientSize();
    const RECT status = dialog.ClientRect(kStatus);
    const RECT banner = dialog.ClientRect(kBanner);
    const LONG bannerHeight = MulDiv(kBannerHeightDlu, status.bottom - status.top, kStatusHeightDlu);
    EXPECT_EQ(banner.left, 0);
    EXPECT_EQ(banner.top, 0);
    EXPECT_EQ(banner.right, client.cx);
    EXPECT_EQ(banner.bottom, bannerHeight);
    const std::optional<SIZE> image = dialog.ImageSize(kBanner);
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->cx, client.cx);
    EXPECT_EQ(image->cy, bannerHeight);
}

// Each visible static text fits its control on one line.
void ExpectTextsFit(const uidriver::DialogDriver& dialog)
{
    for (const int id : kStaticTexts) {
        if (!dialog.IsVisible(id))
            continue;
        const RECT rect = dialog.ClientRect(id);
        const std::optional<SIZE> needed = dialog.TextExtent(id);
        ASSERT_TRUE(needed.has_value()) << "control " << id;
        const std::string text = testing::PrintToString(dialog.Text(id));
        EXPECT_LE(needed->cx, rect.right - rect.left) << "control " << id << ": " << text;
        EXPECT_LE(needed->cy, rect.bottom - rect.top) << "control " << id << ": " << text;
    }
}

class DisplayScale : public ProductTest, public ::testing::WithParamInterface<DWORD> {};

TEST_P(DisplayScale, TheBannerSpansTheDialogAndNoTextIsCutOff)
{
    const PrefixDpi dpi(GetParam());
    host.SetRoute(kAgentPath, SlowBody());
    Launch();
    ExpectBannerSpansTheDialog(Dialog());
    ExpectTextsFit(Dialog());

    PressOk(false);
    ASSERT_TRUE(StatusBecomes(L"Downloading VTA Agent Installer", 10s));
    ASSERT_TRUE(Dialog().WaitText(kFileLabel, [](const std::wstring& text) { return !text.empty(); }, 10s));
    ExpectBannerSpansTheDialog(Dialog());
    ExpectTextsFit(Dialog());

    ProductSession second;
    second.Start();
    ASSERT_TRUE(second.Dialog().IsVisible(kRefusal));
    ExpectBannerSpansTheDialog(second.Dialog());
    ExpectTextsFit(second.Dialog());
    second.Dialog().Click(kOk);
    EXPECT_TRUE(second.WaitForExit(15s).has_value());
}

INSTANTIATE_TEST_SUITE_P(Dpi, DisplayScale, ::testing::Values(96, 144, 192),
                         [](const ::testing::TestParamInfo<DWORD>& info) { return std::to_string(info.param); });

using DpiChange = ProductTest;

// Moved to a monitor of another scale, the dialog takes the window it is
// offered and lays the banner out for it again.
TEST_F(DpiChange, TheDialogTakesTheSuggestedWindowAndItsBannerSpansItAgain)
{
    Launch();
    RECT window{};
    ASSERT_TRUE(GetWindowRect(Dialog().Window(), &window));
    const SIZE client = Dialog().ClientSize();
    const SIZE suggested{window.right - window.left + 240, window.bottom - window.top + 120};
    Dialog().ChangeDpi(144, suggested);

    RECT moved{};
    ASSERT_TRUE(GetWindowRect(Dialog().Window(), &moved));
    EXPECT_EQ(moved.left, window.left);
    EXPECT_EQ(moved.right - moved.left, suggested.cx);
    EXPECT_EQ(moved.bottom - moved.top, suggested.cy);
    EXPECT_EQ(Dialog().ClientSize().cx, client.cx + 240);
    // The banner's layout waits for the dialog manager's scaling: it comes
    // after the message.
    EXPECT_TRUE(uidriver::PollUntil([this] { return Dialog().ClientRect(kBanner).right == Dialog().ClientSize().cx; },
                                    5s));
    ExpectBannerSpansTheDialog(Dialog());
}

}  // namespace
}  // namespace gui_test
