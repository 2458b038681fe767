// Runs that install, or fail to install, the agent package.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "system_msiexec_stand_in.h"
#include "product_test.h"

namespace gui_test {
namespace {

using AgentRun = ProductTest;

using AgentInstall = RealInstallerTest;

TEST_F(AgentInstall, InstallsTheAgentPackageWithWindowsInstaller)
{
    const std::string package = SamplePackage("agent.msi");
    host.SetRoute(kAgentPath, Body(package));
    StartRun(false);
    WaitForEnd();

    EXPECT_EQ(Log(), Lines({kDownloading, kDownloaded, kInstalled}));
    EXPECT_EQ(Dialog().Text(kStatus), L"VTA Agent installation finished");
    EXPECT_TRUE(Dialog().IsEnabled(kOk));
    EXPECT_TRUE(Dialog().IsEnabled(kCancel));
    EXPECT_EQ(Dialog().ProgressPosition(kFileBar), Dialog().ProgressLimits(kFileBar).high);
    EXPECT_EQ(Dialog().ProgressPosition(kTotalBar), 500);
    EXPECT_EQ(Dialog().Text(kTotalLabel), L"Total progress ( 100% )");
    const std::wstring size = std::to_wstring(package.size());
    EXPECT_EQ(Dialog().Text(kFileLabel), size + L" bytes( 100% ) out of " + size + L" bytes");
    EXPECT_FALSE(Dialog().IsVisible(kDetailsLog));  // success keeps the log as the user left it

    EXPECT_EQ(Files().Read(kAgentFile), package);
    EXPECT_FALSE(Files().Exists(kAgentTempFile));
    EXPECT_EQ(host.RequestCount(kServicePath), 0);
    EXPECT_EQ(host.LastRequestHeader(kAgentPath, "User-Agent"), "Mozilla/4.0 (compatible) Poison");

    // OK now closes the dialog.
    Dialog().Click(kOk);
    EXPECT_TRUE(session->WaitForExit(15s).has_value());
}

TEST_F(AgentRun, CancelDuringTheDownloadAbortsWithoutInstalling)
{
    const SystemMsiexecStandIn installer;
    host.SetRoute(kAgentPath, SlowBody());
    StartRun(true);
    ASSERT_TRUE(Dialog().WaitText(kFileLabel, [](const std::wstring& t) { return !t.empty(); }, 30s));
    Dialog().Click(kCancel);
    WaitForEnd();

    EXPECT_EQ(Log(), Lines({kDownloading, L"VTA Agent download cancelled by user.\r\n", kAborted}));
    EXPECT_EQ(Dialog().Text(kStatus), L"VTA Agent download cancelled by user");
    ExpectFailureEnding();
    EXPECT_FALSE(Files().Exists(kAgentTempFile));
    EXPECT_FALSE(Files().Exists(kAgentFile));
    EXPECT_FALSE(Files().Exists(std::wstring(kAgentFile) + L".ran"));
    EXPECT_EQ(host.RequestCount(kServicePath), 0);
}

struct FailedDownload {
    const char* name;
    Route route;
    const wchar_t* status;
    const wchar_t* logLine;
};

class AgentDownloadFailure : public ProductTest, public ::testing::WithParamInterface<FailedDownload> {};

// The local file of an earlier run stays as it was, and no temporary file remains.
TEST_P(AgentDownloadFailure, ReportsAndLeavesTheLocalFileAlone)
{
    host.SetRoute(kAgentPath, GetParam().route);
    Launch();
    Files().Write(kAgentFile, "earlier package");
    PressOk(true);
    WaitForEnd();

    EXPECT_EQ(Log(), Lines({kDownloading, GetParam().logLine}));
    EXPECT_EQ(Dialog().Text(kStatus), GetParam().status);
    ExpectFailureEnding();
    EXPECT_EQ(Files().Read(kAgentFile), "earlier package");
    EXPECT_FALSE(Files().Exists(kAgentTempFile));
    EXPECT_EQ(host.RequestCount(kServicePath), 0);
}

Route CutShort()
{
    Route route = Body(std::string(10000, 'p'));
    route.length = ContentLength::Exactly(50000);
    return route;
}

INSTANTIATE_TEST_SUITE_P(
    Statuses, AgentDownloadFailure,
    ::testing::Values(
        FailedDownload{"NotFound", Body("no such package", 404), L"Error downloading VTA Agent Installer - File not found",
                       L"Error downloading VTA Agent Installer - File not found \r\n"},
        FailedDownload{"ServerError", Body("broken", 500),
                       L"Error downloading VTA Agent Installer - Internal Server Error",
                       L"Error downloading VTA Agent Installer - Internal Server Error \r\n"},
        // An error page is never stored and run as the package.
        FailedDownload{"Forbidden", Body("<html>forbidden</html>", 403), L"Error downloading VTA Agent Installer",
                       L"Error downloading VTA Agent Installer \r\n"},
        FailedDownload{"Unavailable", Body("<html>later</html>", 503), L"Error downloading VTA Agent Installer",
                       L"Error downloading VTA Agent Installer \r\n"},
        // A body that ends before its announced length is a failed read.
        FailedDownload{"CutShort", CutShort(), L"Error downloading VTA Agent Installer",
                       L"Error downloading VTA Agent Installer \r\n"}),
    [](const ::testing::TestParamInfo<FailedDownload>& info) { return info.param.name; });

// Nothing listens where the package should be: the open gives no handle at all.
TEST_F(AgentRun, AHostThatCannotBeReachedFailsTheDownload)
{
    host.SetListenerOpen("download", false);
    StartRun(true);
    WaitForEnd();

    EXPECT_EQ(Log(), Lines({kDownloading, L"Error downloading VTA Agent Installer \r\n"}));
    EXPECT_EQ(Dialog().Text(kStatus), L"Error downloading VTA Agent Installer");
    ExpectFailureEnding();
    EXPECT_FALSE(Files().Exists(kAgentTempFile));
    EXPECT_EQ(host.RequestCount(kServicePath), 0);
}

// Packages are fetched from the host every time and never copied into the
// user's cache: a host that changed its package is heard at once, whatever
// caching headers it sent before.
TEST_F(AgentRun, PackagesBypassTheCache)
{
    const SystemMsiexecStandIn installer;
    const std::string marker = "cache-probe-" + std::to_string(GetTickCount64());
    for (const char* version : {"first", "second"}) {
        Route route = Body(InstallerExitingWith(0) + " " + marker + "-" + version);
        route.headers = {{"Cache-Control", "public, max-age=86400"},
                         {"ETag", std::string("\"") + version + "\""},
                         {"Last-Modified", "Tue, 01 Dec 2026 10:00:00 GMT"}};
        host.SetRoute(kAgentPath, route);
        StartRun(false);
        WaitForEnd();
        EXPECT_EQ(Files().Read(kAgentFile), route.body);
        session.reset();
    }
    EXPECT_EQ(host.RequestCount(kAgentPath), 2);

    wchar_t localData[MAX_PATH] = {};
    ASSERT_GT(GetEnvironmentVariableW(L"LOCALAPPDATA", localData, MAX_PATH), 0u);
    const std::filesystem::path cache = std::filesystem::path(localData) / "Microsoft" / "Windows" / "INetCache";
    std::error_code ignored;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(cache, ignored)) {
        if (!entry.is_regular_file())
            continue;
        std::ifstream file(entry.path(), std::ios::binary);
        const std::string content{std::istreambuf_iterator<char>(file), {}};
        EXPECT_EQ(content.find(marker), std::string::npos) << "a copy of the package in " << entry.path();
    }
}

TEST_F(AgentRun, WithoutContentLengthTheDownloadCompletesAndClaimsNoPercentage)
{
    const SystemMsiexecStandIn installer;
    Route route = Body(InstallerExitingWith(0) + std::string(300 * 1024, ' '));
    route.length = ContentLength::None();
    route.chunk = 8192;
    route.chunk_delay_ms = 10;
    host.SetRoute(kAgentPath, route);
    StartRun(false);
    ASSERT_TRUE(StatusBecomes(L"Download finished. Beginning VTA Agent installation process", 60s));
    EXPECT_EQ(Dialog().Text(kFileLabel), L"");
    EXPECT_EQ(Dialog().ProgressPosition(kTotalBar), 0);
    WaitForEnd();

    EXPECT_EQ(Log(), Lines({kDownloading, kDownloaded, kInstalled}));
    const std::wstring size = std::to_wstring(route.body.size());
    EXPECT_EQ(Dialog().Text(kFileLabel), size + L" bytes( 100% ) out of " + size + L" bytes");
    EXPECT_EQ(Files().Read(kAgentFile), route.body);
}

TEST_F(AgentRun, ReplacesAnEarlierPackageAndTruncatesAStaleTemporaryFile)
{
    const SystemMsiexecStandIn installer;
    host.SetRoute(kAgentPath, Body(InstallerExitingWith(0) + std::string(2500, ' ')));
    Launch();
    Files().Write(kAgentFile, "earlier package");
    Files().Write(kAgentTempFile, std::string(100 * 1024, 'x'));
    PressOk(false);
    WaitForEnd();

    EXPECT_EQ(Log(), Lines({kDownloading, kDownloaded, kInstalled}));
    EXPECT_EQ(Files().Read(kAgentFile), InstallerExitingWith(0) + std::string(2500, ' '));
    EXPECT_FALSE(Files().Exists(kAgentTempFile));
}

struct InstallerEnding {
    long exitCode;
    const wchar_t* status;
    const wchar_t* logLine;
};

class AgentInstallerExit : public ProductTest, public ::testing::WithParamInterface<InstallerEnding> {};

// Any ending but 0 ends the run, so Patch Management is skipped though ticked,
// and none is a cancellation of a download: no aborted line.
TEST_P(AgentInstallerExit, EndsTheRunWithTheInstallersMessage)
{
    const SystemMsiexecStandIn installer;
    host.SetRoute(kAgentPath, Body(InstallerExitingWith(GetParam().exitCode)));
    StartRun(true);
    WaitForEnd();

    EXPECT_EQ(Log(), Lines({kDownloading, kDownloaded, GetParam().logLine}));
    EXPECT_EQ(Dialog().Text(kStatus), GetParam().status);
    ExpectFailureEnding();
    EXPECT_EQ(host.RequestCount(kServicePath), 0);
    EXPECT_TRUE(Files().Exists(std::wstring(kAgentFile) + L".ran"));
}

INSTANTIATE_TEST_SUITE_P(
    ExitCodes, AgentInstallerExit,
    ::testing::Values(
        InstallerEnding{1602, L"VTA Agent installation cancelled by user", L"VTA Agent installation cancelled by user.\r\n"},
        InstallerEnding{1603, L"An error occured while installing VTA Agent",
                        L"An error occured while installing VTA Agent ( 1603 ).\r\n"},
        InstallerEnding{3010, L"An error occured while installing VTA Agent",
                        L"An error occured while installing VTA Agent ( 3010 ).\r\n"},
        InstallerEnding{-1, L"An error occured while installing VTA Agent",
                        L"An error occured while installing VTA Agent ( -1 ).\r\n"}),
    [](const ::testing::TestParamInfo<InstallerEnding>& info) {
        return info.param.exitCode < 0 ? std::string("Minus1") : std::to_string(info.param.exitCode);
    });

// The session mounts a disk too small for the package: the write fails, and
// the damaged file is never moved into place.
TEST_F(AgentRun, AFailedWriteLeavesTheLocalFileAlone)
{
    const char* smallDisk = std::getenv("VTA_TEST_SMALL_DISK");
    ASSERT_NE(smallDisk, nullptr) << "run inside scripts/wine-session";
    const std::filesystem::path directory = std::filesystem::path("Z:" + std::string(smallDisk)) / "write-failure";
    std::filesystem::remove_all(directory);
    std::filesystem::create_directories(directory);
    {
        std::ofstream(directory / kAgentFile) << "earlier package";
    }
    host.SetRoute(kAgentPath, Body(std::string(1024 * 1024, 'p')));
    session.emplace();
    session->Start(kDialogTimeout, directory);
    PressOk(false);
    WaitForEnd();

    EXPECT_EQ(Log(), Lines({kDownloading, L"Error creating VTA Agent Installer local file. Please check your "
                                          L"available drive space.\r\n"}));
    EXPECT_EQ(Dialog().Text(kStatus), L"Error creating VTA Agent Installer local file");
    ExpectFailureEnding();
    std::ifstream local(directory / kAgentFile);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(local), {}), "earlier package");
    EXPECT_FALSE(std::filesystem::exists(directory / kAgentTempFile));
    local.close();
    session.reset();
    std::filesystem::remove_all(directory);
}

}  // namespace
}  // namespace gui_test
