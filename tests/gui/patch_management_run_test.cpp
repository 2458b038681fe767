// Runs that go on to Patch Management: the service exchange, its retries,
// the second download and the windowless install command.
#include "executable_directory.h"
#include "system_msiexec_stand_in.h"
#include "product_test.h"

namespace gui_test {
namespace {

constexpr wchar_t kRetrieving[] = L"Retrieving Patch Management download details.\r\n";
constexpr wchar_t kRetrieved[] = L"Retrieved Patch Management download details. \r\n";
constexpr wchar_t kRetrying[] = L"Error retrieving Patch Management download details. Retrying... \r\n";
constexpr wchar_t kRetrievalFailed[] = L"Failed to retrieve Patch Management download details. \r\n";
constexpr wchar_t kPatchInstalled[] = L"Patch Management installation finished.\r\n";

// The stand-in installer, as a command line the service could send.
std::string StandInCommand(const char* package)
{
    return "\"" + (uidriver::ExecutableDirectory() / "fakeinstaller.exe").string() + "\" /i " + package;
}

class PatchManagementRun : public ProductTest {
protected:
    // The agent installs through the stand-in installer.
    void ServeAgent() { host.SetRoute(kAgentPath, Body(InstallerExitingWith(0))); }
    void FailService() { host.SetRoute(kServicePath, Body("service unavailable", 503)); }

    const SystemMsiexecStandIn installer;
};

using FullRun = RealInstallerTest;

TEST_F(FullRun, InstallsBothPackagesWithWindowsInstaller)
{
    host.SetRoute(kAgentPath, Body(SamplePackage("agent.msi")));
    const std::string patch = SamplePackage("patch.msi");
    host.SetRoute(kPatchPath, Body(patch));
    host.SetRoute(kServicePath, Body(ServiceAnswer(kPatchUrl, "msiexec /i patch.msi /qn")));
    StartRun(true, L"vta_agent_download_manager_sDEMO1.exe");
    WaitForEnd();

    EXPECT_EQ(Log(), Lines({kDownloading, kDownloaded, kInstalled, kRetrieving, kRetrieved, kPatchDownloading,
                            kPatchDownloaded, kPatchInstalled}));
    EXPECT_EQ(Dialog().Text(kStatus), L"Patch Management installation finished");
    EXPECT_TRUE(Dialog().IsEnabled(kOk));
    EXPECT_FALSE(Dialog().IsEnabled(kCancel));
    EXPECT_EQ(Dialog().ProgressPosition(kTotalBar), 1000);
    EXPECT_EQ(Dialog().Text(kTotalLabel), L"Total progress ( 100% )");
    EXPECT_EQ(host.LastRequestBody(kServicePath), std::string("\x08\xD2\x01\x92\x08\x05" "DEMO1", 11));
    EXPECT_EQ(Files().Read(L"patch.msi"), patch);
    EXPECT_TRUE(Files().Exists(L"vta-agent-x64_sDEMO1.msi"));
}

TEST_F(PatchManagementRun, RetrievalFailingTwiceThenSucceedingGoesOn)
{
    ServeAgent();
    host.SetRoute(kServicePath, Body(ServiceAnswer(kPatchUrl, StandInCommand("pm.msi"))));
    Route twoFailures = Body("service unavailable", 503);
    twoFailures.times = 2;  // answers ahead of the standing route, twice
    host.SetRoute(kServicePath, twoFailures);
    host.SetRoute(kPatchPath, Body(InstallerExitingWith(0)));
    StartRun(true);
    WaitForEnd();

    EXPECT_EQ(Log(), Lines({kDownloading, kDownloaded, kInstalled, kRetrieving, kRetrying, kRetrying, kRetrieved,
                            kPatchDownloading, kPatchDownloaded, kPatchInstalled}));
    EXPECT_EQ(host.RequestCount(kServicePath), 3);
    EXPECT_TRUE(Files().Exists(L"pm.msi.ran"));
}

TEST_F(PatchManagementRun, RetrievalFailingThreeTimesEndsTheRunWithTheAgentInstalled)
{
    ServeAgent();
    FailService();
    StartRun(true);
    WaitForEnd();

    EXPECT_EQ(Log(), Lines({kDownloading, kDownloaded, kInstalled, kRetrieving, kRetrying, kRetrying, kRetrievalFailed}));
    EXPECT_EQ(Dialog().Text(kStatus), L"Failed to retrieve Patch Management download details");
    ExpectFailureEnding();
    EXPECT_EQ(host.RequestCount(kServicePath), 3);
    EXPECT_EQ(host.RequestCount(kPatchPath), 0);
    EXPECT_TRUE(Files().Exists(std::wstring(kAgentFile) + L".ran"));
}

TEST_F(PatchManagementRun, CancelDuringTheRetrievalStopsThePatchDownloadBeforeItsFirstByte)
{
    ServeAgent();
    Route slowAnswer = Body(ServiceAnswer(kPatchUrl, StandInCommand("patch.msi")));
    slowAnswer.pause_before_ms = 3000;
    host.SetRoute(kServicePath, slowAnswer);
    host.SetRoute(kPatchPath, Body(InstallerExitingWith(0)));
    StartRun(true);
    ASSERT_TRUE(StatusBecomes(L"Retrieving Patch Management download details"));
    Dialog().Click(kCancel);
    WaitForEnd();

    EXPECT_EQ(Log(), Lines({kDownloading, kDownloaded, kInstalled, kRetrieving, kRetrieved, kPatchDownloading,
                            L"Patch Management download cancelled by user.\r\n", kAborted}));
    EXPECT_EQ(Dialog().Text(kStatus), L"Patch Management download cancelled by user");
    ExpectFailureEnding();
    EXPECT_EQ(host.RequestCount(kPatchPath), 1);
    EXPECT_FALSE(Files().Exists(L"patch.msi"));
    EXPECT_FALSE(Files().Exists(L"patch.msitemp"));
}

TEST_F(PatchManagementRun, InstallCommandExitCodeAndLaunchFailureAreReported)
{
    ServeAgent();
    host.SetRoute(kPatchPath, Body(InstallerExitingWith(1603)));
    host.SetRoute(kServicePath, Body(ServiceAnswer(kPatchUrl, StandInCommand("pm.msi"))));
    StartRun(true);
    WaitForEnd();
    EXPECT_EQ(Dialog().Text(kStatus), L"An error occured while installing Patch Management");
    EXPECT_EQ(Log().substr(Log().rfind(L"Download finished")),
              Lines({kPatchDownloaded, L"An error occured while installing Patch Management ( 1603 ).\r\n"}));
    ExpectFailureEnding();
    Dialog().Click(kOk);
    ASSERT_TRUE(session->WaitForExit(15s).has_value());

    host.SetRoute(kServicePath, Body(ServiceAnswer(kPatchUrl, "no-such-installer.exe /i pm.msi")));
    StartRun(true);
    WaitForEnd();
    EXPECT_EQ(Log().substr(Log().rfind(L"Download finished")),
              Lines({kPatchDownloaded, L"An error occured while installing Patch Management ( 2 ).\r\n"}));
}

TEST_F(PatchManagementRun, ACommandWithoutMsiLeavesNoFileNameAndTheMoveFails)
{
    ServeAgent();
    host.SetRoute(kPatchPath, Body(InstallerExitingWith(0)));
    host.SetRoute(kServicePath, Body(ServiceAnswer(kPatchUrl, "setup.exe /quiet")));
    StartRun(true);
    WaitForEnd();
    EXPECT_EQ(Log().substr(Log().rfind(kPatchDownloading)),
              Lines({kPatchDownloading,
                     L"Error creating Patch Management Installer local file. Please check your available drive space.\r\n"}));
    ExpectFailureEnding();
}

// The package host's certificate comes from an unknown authority: the
// download ends as the agent's would, and no request ever reaches the host.
TEST_F(PatchManagementRun, AnUntrustedPackageHostFailsTheDownload)
{
    ServeAgent();
    host.SetRoute(kPatchPath, Body(InstallerExitingWith(0)));
    host.SetRoute(kServicePath, Body(ServiceAnswer("https://localhost:47445/pm/patch.msi", StandInCommand("patch.msi"))));
    StartRun(true);
    WaitForEnd();

    EXPECT_EQ(Log().substr(Log().rfind(kPatchDownloading)),
              Lines({kPatchDownloading, L"Error downloading Patch Management Installer.\r\n"}));
    EXPECT_EQ(Dialog().Text(kStatus), L"Error downloading Patch Management Installer");
    ExpectFailureEnding();
    EXPECT_EQ(host.RequestCount(kPatchPath), 0);
    // No second attempt that would ignore the unknown authority.
    EXPECT_EQ(host.ConnectionCount("untrusted"), 1);
    EXPECT_FALSE(Files().Exists(L"patch.msitemp"));
}

}  // namespace
}  // namespace gui_test
