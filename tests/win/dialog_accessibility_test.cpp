// What Wine does not show: the taskbar button's progress and high contrast,
// through the dialog's seams for the taskbar and the high-contrast query.
#include <gtest/gtest.h>

#include "live_dialog.h"

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "child_process.h"
#include "executable_directory.h"
#include "prefix_dpi.h"
#include "resource.h"
#include "run_result.h"
#include "scratch_directory.h"
#include "taskbar_progress.h"

namespace {

std::vector<std::string> g_taskbarCalls;

class RecordingTaskbar : public TaskbarProgress {
public:
    void Show(ULONGLONG done, ULONGLONG total) override
    {
        g_taskbarCalls.push_back(std::to_string(done) + "/" + std::to_string(total));
    }
    void ShowError() override { g_taskbarCalls.push_back("error"); }
    void Clear() override { g_taskbarCalls.push_back("clear"); }
};

TEST(TaskbarButton, MirrorsTheTotalBarOnceTheButtonIsMadeAndShowsHowTheRunEnded)
{
    g_taskbarCalls.clear();
    WithPreparedLiveDialog(
        [](Cvta_agent_download_managerDlg& dialog) {
            dialog.m_pfnTaskbarProgress = [](HWND) -> std::unique_ptr<TaskbarProgress> {
                return std::make_unique<RecordingTaskbar>();
            };
            dialog.m_plan.packages.resize(2);
        },
        [](Cvta_agent_download_managerDlg& dialog) {
            // Patch Management is ticked: the total bar has 1000 units.
            dialog.UpdateDownloadProgress(1, 4);  // no button yet
            dialog.SendMessage(TaskbarButtonCreatedMessage());
            dialog.UpdateDownloadProgress(2, 4);
            dialog.UpdateDownloadProgress(2, 4);  // the bar did not move
            // An ending that did not complete fills the bar first.
            dialog.RunEnded(RunResult{RunResult::kFailed, 5});
            dialog.RunEnded(RunResult{RunResult::kCancelled, 1602});
            dialog.RunEnded(RunResult{RunResult::kCompleted, 0});
        });
    EXPECT_EQ(g_taskbarCalls,
              (std::vector<std::string>{"250/1000", "100/100", "error", "100/100", "error", "clear"}));
}

BOOL WINAPI HighContrastOn(UINT action, UINT, PVOID information, UINT)
{
    if (action != SPI_GETHIGHCONTRAST)
        return FALSE;
    static_cast<HIGHCONTRASTW*>(information)->dwFlags = HCF_HIGHCONTRASTON;
    return TRUE;
}

// The prefix's window colours as a high-contrast scheme has them, while the
// object lives.
class HighContrastColours {
public:
    HighContrastColours() : saved_{GetSysColor(COLOR_WINDOW), GetSysColor(COLOR_WINDOWTEXT)}
    {
        const COLORREF scheme[] = {RGB(0, 0, 0), RGB(255, 255, 0)};
        SetSysColors(2, kElements, scheme);
    }
    ~HighContrastColours() { SetSysColors(2, kElements, saved_); }

private:
    static constexpr INT kElements[] = {COLOR_WINDOW, COLOR_WINDOWTEXT};
    COLORREF saved_[2];
};

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<RGBQUAD> pixels;
};

Picture PictureOf(HBITMAP bitmap)
{
    BITMAP header{};
    GetObjectW(bitmap, sizeof(header), &header);
    Picture picture{header.bmWidth, header.bmHeight, {}};
    picture.pixels.resize(static_cast<size_t>(picture.width) * picture.height);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), picture.width, -picture.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    const HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, static_cast<UINT>(picture.height), picture.pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    return picture;
}

// For a person to look at: build/<preset>/screenshots/<name>.bmp.
void Save(const Picture& picture, const std::string& name)
{
    const std::filesystem::path folder = uidriver::ExecutableDirectory().parent_path() / "screenshots";
    std::filesystem::create_directories(folder);
    BITMAPINFOHEADER info{sizeof(info), picture.width, -picture.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    const DWORD bytes = static_cast<DWORD>(picture.pixels.size() * sizeof(RGBQUAD));
    BITMAPFILEHEADER file{0x4D42, static_cast<DWORD>(sizeof(file) + sizeof(info) + bytes), 0, 0,
                          static_cast<DWORD>(sizeof(file) + sizeof(info))};
    std::ofstream out(folder / (name + ".bmp"), std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof(file));
    out.write(reinterpret_cast<const char*>(&info), sizeof(info));
    out.write(reinterpret_cast<const char*>(picture.pixels.data()), bytes);
}

// Yellow strokes on black: every pixel has as much red as green and no blue,
// the corners are the background, and some pixels are the strokes' colour.
void ExpectSchemeColours(const Picture& picture)
{
    ASSERT_FALSE(picture.pixels.empty());
    size_t strokes = 0;
    for (const RGBQUAD& pixel : picture.pixels) {
        ASSERT_EQ(pixel.rgbBlue, 0);
        ASSERT_EQ(pixel.rgbRed, pixel.rgbGreen);
        strokes += pixel.rgbRed == 255;
    }
    EXPECT_EQ(picture.pixels.front().rgbRed, 0);
    EXPECT_EQ(picture.pixels.back().rgbRed, 0);
    EXPECT_GT(strokes, picture.pixels.size() / 50);
}

// The banner of the live dialog, checked and saved under this process's
// display scale.
TEST(HighContrast, TheBannerTakesTheSchemesWindowColours)
{
    const HighContrastColours scheme;
    WithPreparedLiveDialog(
        [](Cvta_agent_download_managerDlg& dialog) { dialog.m_banner.m_pfnSystemParametersInfo = &HighContrastOn; },
        [](Cvta_agent_download_managerDlg& dialog) {
            const Picture banner = PictureOf(
                reinterpret_cast<HBITMAP>(dialog.SendDlgItemMessage(IDC_BANNER, STM_GETIMAGE, IMAGE_BITMAP, 0)));
            ExpectSchemeColours(banner);
            const HDC screen = GetDC(nullptr);
            const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
            ReleaseDC(nullptr, screen);
            Save(banner, "high-contrast-banner-" + std::to_string(dpi) + "dpi");
        });
}

// A program takes its display scale when it starts: the same test again, in
// a copy of this program started at 192 DPI.
TEST(HighContrast, AtTwiceTheScaleToo)
{
    const gui_test::PrefixDpi dpi(192);
    const gui_test::ScratchDirectory folder;
    const auto copy = uidriver::ChildProcess::Start(uidriver::ExecutableDirectory() / L"win_tests.exe",
                                                    L"--gtest_filter=HighContrast.TheBannerTakesTheSchemesWindowColours",
                                                    folder.Path());
    EXPECT_EQ(copy.WaitForExit(std::chrono::seconds(60)), std::optional<DWORD>(0));
}

}  // namespace
