// The unattended modes, as deployment tools and scripts use them: no window
// (/quiet) or no click (/passive), an exit code to act on, a log on request.
#include <windows.h>
#include <msi.h>
#include <wininet.h>

#include <algorithm>

#include "msi_open_override.h"
#include "product_test.h"

namespace gui_test {
namespace {

constexpr char kPatchPath[] = "/pm/patch.msi";
constexpr char kPatchUrl[] = "https://localhost:47443/pm/patch.msi";
constexpr wchar_t kAgentProduct[] = L"{3B4294FB-368B-4E7E-AFE2-E59D7FD0772A}";
constexpr wchar_t kPatchProduct[] = L"{CA7B7426-254B-4518-AE18-5F0D39F686F7}";
constexpr wchar_t kTokenExecutable[] = L"vta_agent_download_manager_sSECRET77.exe";
constexpr uidriver::Milliseconds kExitTimeout = 120s;

bool IsInstalled(const wchar_t* productCode)
{
    return MsiQueryProductStateW(productCode) == INSTALLSTATE_DEFAULT;
}

struct WindowSearch {
    DWORD processId;
    size_t found;
};

BOOL CALLBACK CountWindowOfProcess(HWND window, LPARAM parameter)
{
    auto* search = reinterpret_cast<WindowSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId)
        ++search->found;
    return TRUE;
}

// The top-level windows the process owns right now, shown or not.
size_t TopLevelWindowsOf(DWORD processId)
{
    WindowSearch search{processId, 0};
    EnumWindows(CountWindowOfProcess, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

class Unattended : public RealInstallerTest {
protected:
    void ServeBothPackages()
    {
        host.SetRoute(kAgentPath, Body(SamplePackage("agent.msi")));
        host.SetRoute(kPatchPath, Body(SamplePackage("patch.msi")));
        host.SetRoute(kServicePath, Body(ServiceAnswer(kPatchUrl, "msiexec /i patch.msi /qn")));
    }

    // Runs a copy without a window and returns its exit code; fails the test
    // if the process ever owns a top-level window meanwhile.
    DWORD RunQuietly(const std::wstring& arguments, const std::wstring& executable = kProductExecutableName)
    {
        session.emplace(executable);
        session->StartWindowless(arguments);
        size_t windows = 0;
        std::optional<DWORD> exitCode;
        const auto deadline = std::chrono::steady_clock::now() + kExitTimeout;
        while (!(exitCode = session->WaitForExit(20ms)) && std::chrono::steady_clock::now() < deadline)
            windows = std::max(windows, TopLevelWindowsOf(session->ProcessId()));
        EXPECT_EQ(windows, 0u) << "the program showed a window";
        EXPECT_TRUE(exitCode.has_value()) << "the program did not end";
        return exitCode.value_or(0xDEADu);
    }

    std::string LogText(const wchar_t* name = L"run.log") const { return Files().Read(name); }
};

TEST_F(Unattended, QuietInstallsBothPackagesWithoutAWindowAndLogsEveryStep)
{
    ServeBothPackages();
    EXPECT_EQ(RunQuietly(L"/quiet /log run.log", kTokenExecutable), 0u);

    EXPECT_TRUE(IsInstalled(kAgentProduct));
    EXPECT_TRUE(IsInstalled(kPatchProduct));
    const std::string log = LogText();
    for (const char* line :
         {"VTA Agent Download Manager 1.", "Downloading VTA Agent Installer", "https://localhost:47443/vta/vta-agent-x64.msi",
          "HTTP status 200", "Received ", "msiexec.exe /i ", "/qn /l*v", "exit code 0 after",
          "VTA Agent installation finished.", "Retrieved Patch Management download details.",
          "msiexec /i patch.msi /qn", "Patch Management installation finished.", "Exit code 0"})
        EXPECT_NE(log.find(line), std::string::npos) << line << "\nin\n" << log;
    EXPECT_EQ(log.find("SECRET77"), std::string::npos) << log;
    EXPECT_NE(log.find("_s***"), std::string::npos) << log;
    // msiexec logs the agent's installation beside the run's own log.
    EXPECT_TRUE(Files().Exists(L"run.log.agent.log"));
}

TEST_F(Unattended, QuietEndsWithTheCodeOfWhatFailed)
{
    host.SetRoute(kAgentPath, Body("missing", 404));
    EXPECT_EQ(RunQuietly(L"-QUIET"), 20404u);
    EXPECT_FALSE(IsInstalled(kAgentProduct));

    host.SetRoute(kAgentPath, Body(SamplePackage("agent.msi")));
    host.SetRoute(kServicePath, Body("service unavailable", 503));
    // Three answers that do not parse: the last attempt's cause.
    EXPECT_EQ(RunQuietly(L"/quiet"), static_cast<DWORD>(ERROR_INVALID_DATA));
    EXPECT_EQ(host.RequestCount(kServicePath), 3);
    EXPECT_TRUE(IsInstalled(kAgentProduct));
}

TEST_F(Unattended, AStalledBodyEndsWithinTheTimeOut)
{
    Route stalls = Body(std::string(256 * 1024, 'p'));
    stalls.chunk = 8192;
    stalls.chunk_delay_ms = 60000;
    host.SetRoute(kAgentPath, stalls);
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(RunQuietly(L"/quiet /log run.log"), static_cast<DWORD>(ERROR_INTERNET_TIMEOUT));
    // The test build waits 3 s for a silent network.
    EXPECT_LT(std::chrono::steady_clock::now() - started, 20s);
    EXPECT_NE(LogText().find("Error downloading VTA Agent Installer"), std::string::npos);
    EXPECT_FALSE(Files().Exists(L"vta-agent-x64_manager.msitemp"));
}

TEST_F(Unattended, ASecondQuietCopyEndsAtOnceWithAlreadyRunning)
{
    host.SetRoute(kAgentPath, SlowBody());
    Launch();
    PressOk(false);
    ProductSession second;
    second.StartWindowless(L"/quiet");
    EXPECT_EQ(second.WaitForExit(15s), std::optional<DWORD>(1618));
}

TEST_F(Unattended, PassiveShowsTheRunAndClosesItself)
{
    ServeBothPackages();
    session.emplace();
    session->Start(kDialogTimeout, std::nullopt, L"/passive");
    // Started as if OK had been pressed: the progress face comes up by itself.
    ASSERT_TRUE(uidriver::PollUntil([this] { return !Dialog().IsVisible(kAgentBox); }, 10s));
    Dialog().PingRoundTrip();
    EXPECT_TRUE(Dialog().IsVisible(kTotalBar));
    EXPECT_EQ(session->WaitForExit(kExitTimeout), std::optional<DWORD>(0));
    EXPECT_TRUE(IsInstalled(kAgentProduct));
    EXPECT_TRUE(IsInstalled(kPatchProduct));
}

TEST_F(Unattended, PassiveCancelledDuringTheDownloadEndsWithUserExit)
{
    host.SetRoute(kAgentPath, SlowBody());
    session.emplace();
    session->Start(kDialogTimeout, std::nullopt, L"/passive /nopatchmanagement");
    ASSERT_TRUE(Dialog().WaitText(kFileLabel, [](const std::wstring& t) { return !t.empty(); }, 30s));
    Dialog().Click(kCancel);
    ASSERT_TRUE(StatusBecomes(L"VTA Agent download cancelled by user", 10s));
    EXPECT_EQ(session->WaitForExit(30s), std::optional<DWORD>(1602));
    EXPECT_FALSE(IsInstalled(kAgentProduct));
}

TEST_F(Unattended, ACommandLineNotUnderstoodInstallsNothing)
{
    host.SetRoute(kAgentPath, Body(SamplePackage("agent.msi")));
    EXPECT_EQ(RunQuietly(L"/quiet /bogus"), 87u);
    EXPECT_EQ(RunQuietly(L"/quiet /log"), 87u);

    // Without /quiet the usage is shown first.
    session.emplace();
    session->Start(kDialogTimeout, std::nullopt, L"/reboot");
    bool explained = false;
    for (const int id : Dialog().ControlIds())
        explained = explained || Dialog().Text(id).find(L"Unknown switch: /reboot") != std::wstring::npos;
    EXPECT_TRUE(explained);
    Dialog().Click(IDOK);
    EXPECT_EQ(session->WaitForExit(15s), std::optional<DWORD>(87));
    EXPECT_EQ(host.RequestCount(kAgentPath), 0);
    EXPECT_FALSE(IsInstalled(kAgentProduct));
}

TEST_F(Unattended, ALogThatCannotBeWrittenNeverStopsTheInstallation)
{
    host.SetRoute(kAgentPath, Body(SamplePackage("agent.msi")));
    EXPECT_EQ(RunQuietly(L"/quiet /nopatchmanagement /log Z:\\nonexistent-folder\\run.log"), 0u);
    EXPECT_TRUE(IsInstalled(kAgentProduct));
}

}  // namespace
}  // namespace gui_test
