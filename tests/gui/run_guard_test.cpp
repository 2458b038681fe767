// A running installation keeps its dialog: OK, Cancel and the ways to close
// a window do nothing beyond their own effect while the worker runs, whoever
// sends them.
#include "system_msiexec_stand_in.h"
#include "product_test.h"

namespace gui_test {
namespace {

constexpr wchar_t kAgentDownloadedStatus[] = L"Download finished. Beginning VTA Agent installation process";
constexpr wchar_t kPatchDownloadedStatus[] = L"Download finished. Beginning Patch Management installation process";

class RunGuard : public ProductTest {
protected:
    const SystemMsiexecStandIn installer;
};

// An installer that stays open long enough to be looked at.
std::string SlowInstaller()
{
    return InstallerExitingWith(0) + " wait=2500";
}

TEST_F(RunGuard, OkAndButtonNotificationsSentDuringTheRunLeaveItAlone)
{
    Route slowDownload = Body(SlowInstaller() + std::string(256 * 1024, ' '));
    slowDownload.chunk = 4096;
    slowDownload.chunk_delay_ms = 20;
    host.SetRoute(kAgentPath, slowDownload);
    StartRun(false);
    ASSERT_TRUE(Dialog().WaitText(kFileLabel, [](const std::wstring& t) { return !t.empty(); }, 30s));

    // During the download: as an automation tool would send them.
    Dialog().Command(kOk);
    Dialog().Notify(kOk, BN_SETFOCUS);
    Dialog().Notify(kCancel, BN_KILLFOCUS);
    Dialog().Notify(kOk, BN_DOUBLECLICKED);
    // During the installer's run.
    ASSERT_TRUE(StatusBecomes(kAgentDownloadedStatus, 60s));
    ASSERT_TRUE(uidriver::PollUntil([this] { return Files().Exists(std::wstring(kAgentFile) + L".ran"); }, 10s));
    Dialog().Command(kOk);
    EXPECT_FALSE(Dialog().IsEnabled(kCancel));
    EXPECT_FALSE(Dialog().IsEnabled(kOk));

    WaitForEnd();
    EXPECT_EQ(Log(), Lines({kDownloading, kDownloaded, kInstalled}));
    EXPECT_TRUE(session->IsRunning());
    Dialog().Click(kOk);
    EXPECT_TRUE(session->WaitForExit(15s).has_value());
}

struct CloseGesture {
    const char* name;
    void (*perform)(const uidriver::DialogDriver& dialog);
};

class CloseGestureDuringDownload : public RunGuard, public ::testing::WithParamInterface<CloseGesture> {};

// Escape, Alt+F4 and the system menu's Close act as Cancel does: the
// download is cancelled and the dialog stays, with OK to close it.
TEST_P(CloseGestureDuringDownload, CancelsTheDownloadAndKeepsTheDialog)
{
    host.SetRoute(kAgentPath, SlowBody());
    StartRun(false);
    ASSERT_TRUE(Dialog().WaitText(kFileLabel, [](const std::wstring& t) { return !t.empty(); }, 30s));
    GetParam().perform(Dialog());
    WaitForEnd();

    EXPECT_EQ(Log(), Lines({kDownloading, L"VTA Agent download cancelled by user.\r\n", kAborted}));
    ExpectFailureEnding();
    EXPECT_TRUE(session->IsRunning());
    EXPECT_TRUE(Dialog().Exists());
}

INSTANTIATE_TEST_SUITE_P(
    Gestures, CloseGestureDuringDownload,
    ::testing::Values(
        CloseGesture{"Escape", [](const uidriver::DialogDriver& d) { d.PressKey(VK_ESCAPE); }},
        CloseGesture{"AltF4", [](const uidriver::DialogDriver& d) { d.PressKey(VK_F4, true); }},
        CloseGesture{"SystemMenuClose", [](const uidriver::DialogDriver& d) { d.SystemCommand(SC_CLOSE); }}),
    [](const ::testing::TestParamInfo<CloseGesture>& info) { return info.param.name; });

TEST_F(RunGuard, CancelIsDisabledWhileEitherInstallerRuns)
{
    host.SetRoute(kAgentPath, Body(SlowInstaller()));
    host.SetRoute(kPatchPath, Body(SlowInstaller()));
    host.SetRoute(kServicePath,
                  Body(ServiceAnswer(kPatchUrl, "\"" + SystemMsiexecStandIn::Installer().string() + "\" /i pm.msi")));
    StartRun(true);

    ASSERT_TRUE(uidriver::PollUntil([this] { return Files().Exists(std::wstring(kAgentFile) + L".ran"); }, 60s));
    EXPECT_EQ(Dialog().Text(kStatus), kAgentDownloadedStatus);
    EXPECT_FALSE(Dialog().IsEnabled(kCancel));
    ASSERT_TRUE(uidriver::PollUntil([this] { return Files().Exists(L"pm.msi.ran"); }, 60s));
    EXPECT_EQ(Dialog().Text(kStatus), kPatchDownloadedStatus);
    EXPECT_FALSE(Dialog().IsEnabled(kCancel));
    WaitForEnd();
    EXPECT_EQ(Dialog().Text(kStatus), L"Patch Management installation finished");
}

// Neither package announces its length: the run still ends with both bars full.
TEST_F(RunGuard, AFinishedRunShowsEverythingDoneWithoutContentLengths)
{
    Route agent = Body(InstallerExitingWith(0) + std::string(100 * 1024, ' '));
    agent.length = ContentLength::None();
    Route patch = Body(InstallerExitingWith(0) + std::string(50 * 1024, ' '));
    patch.length = ContentLength::None();
    host.SetRoute(kAgentPath, agent);
    host.SetRoute(kPatchPath, patch);
    host.SetRoute(kServicePath,
                  Body(ServiceAnswer(kPatchUrl, "\"" + SystemMsiexecStandIn::Installer().string() + "\" /i pm.msi")));
    StartRun(true);
    WaitForEnd();

    EXPECT_EQ(Dialog().Text(kStatus), L"Patch Management installation finished");
    EXPECT_EQ(Dialog().ProgressPosition(kTotalBar), 1000);
    EXPECT_EQ(Dialog().ProgressLimits(kTotalBar).high, 1000);
    EXPECT_EQ(Dialog().Text(kTotalLabel), L"Total progress ( 100% )");
    EXPECT_EQ(Dialog().ProgressPosition(kFileBar), Dialog().ProgressLimits(kFileBar).high);
    const std::wstring size = std::to_wstring(patch.body.size());
    EXPECT_EQ(Dialog().Text(kFileLabel), size + L" bytes( 100% ) out of " + size + L" bytes");
}

// A second download of the program is saved as "name (1).exe": the marker
// is no part of the token or the package's name.
TEST_F(RunGuard, ACopySavedTwiceKeepsItsToken)
{
    host.SetRoute(kAgentPath, Body(InstallerExitingWith(0)));
    host.SetRoute(kPatchPath, Body(InstallerExitingWith(0)));
    host.SetRoute(kServicePath,
                  Body(ServiceAnswer(kPatchUrl, "\"" + SystemMsiexecStandIn::Installer().string() + "\" /i pm.msi")));
    StartRun(true, L"vta_agent_download_manager_sTOKEN42 (1).exe");
    WaitForEnd();

    EXPECT_TRUE(Files().Exists(L"vta-agent-x64_sTOKEN42.msi"));
    EXPECT_EQ(host.LastRequestBody(kServicePath), std::string("\x08\xD2\x01\x92\x08\x07" "TOKEN42", 13));
    EXPECT_EQ(Dialog().Text(kStatus), L"Patch Management installation finished");
}

}  // namespace
}  // namespace gui_test
