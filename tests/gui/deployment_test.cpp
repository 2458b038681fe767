// What deployment tools rely on in the unattended modes: no restart unless
// allowed, restart codes that mean installed, waiting for another
// installation, and a log even when none was asked for.
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <set>
#include <thread>

#include "system_msiexec_stand_in.h"
#include "unattended_run.h"

namespace gui_test {
namespace {

constexpr char kOtherInstallationRetry[] =
    "The installer answered 1618: another installation is in progress; waiting 1 s before starting the installer.";

// Both packages are stand-ins, started by the stand-in of the system's
// msiexec, which exit as their content says.
class Deployment : public UnattendedTest {
protected:
    void ServeStandIns(const std::string& agent, const std::string& patch)
    {
        host.SetRoute(kAgentPath, Body(agent));
        host.SetRoute(kPatchPath, Body(patch));
        host.SetRoute(kServicePath, Body(ServiceAnswer(kPatchUrl, "msiexec /i patch.msi /qn")));
    }

    std::string QuotedPath(const wchar_t* name) const { return "\"" + Files().PathOf(name).string() + "\""; }
    // The command lines the package's installer was started with, one a line.
    std::string StartsOf(const std::wstring& package) const
    {
        const std::wstring record = package + L".ran";
        return Files().Exists(record) ? Files().Read(record) : std::string();
    }

    const SystemMsiexecStandIn msiexec;
};

size_t LineCount(const std::string& text)
{
    return static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
}

TEST_F(Deployment, NoRestartReachesEveryWindowsInstallerCommand)
{
    ServeStandIns("exit=0", "exit=0");
    EXPECT_EQ(RunQuietly(L"/quiet"), 0u);
    EXPECT_EQ(StartsOf(kAgentFile).find("REBOOT"), std::string::npos) << StartsOf(kAgentFile);
    // The command's package is named by the held file's own path.
    EXPECT_EQ(StartsOf(L"patch.msi"), "msiexec /i " + QuotedPath(L"patch.msi") + " /qn\n");

    EXPECT_EQ(RunQuietly(L"/quiet /norestart"), 0u);
    EXPECT_NE(StartsOf(kAgentFile).find(" REBOOT=ReallySuppress\n"), std::string::npos) << StartsOf(kAgentFile);
    EXPECT_EQ(StartsOf(L"patch.msi"), "msiexec /i " + QuotedPath(L"patch.msi") + " /qn REBOOT=ReallySuppress\n");
}

// Windows Installer itself: a package that schedules a restart, told not to
// restart the machine.
using RealRestart = UnattendedTest;

TEST_F(RealRestart, APackageAskingForARestartIsInstalledAndTheRunGoesOn)
{
    ServeBothPackages();
    host.SetRoute(kAgentPath, Body(SamplePackage("agent-restart.msi")));
    EXPECT_EQ(RunQuietly(L"/quiet /norestart /log run.log"), 3010u) << LogText();
    EXPECT_TRUE(IsInstalled(kAgentProduct));
    EXPECT_TRUE(IsInstalled(kPatchProduct));
    for (const char* line : {" REBOOT=ReallySuppress", "exit code 3010",
                             "\\patch.msi\" /qn REBOOT=ReallySuppress", "Exit code 3010"})
        EXPECT_NE(LogText().find(line), std::string::npos) << line << "\nin\n" << LogText();
}

TEST_F(Deployment, ARestartPendingIsInstalledAndEndsTheRunWithIt)
{
    ServeStandIns("exit=3010", "exit=0");
    EXPECT_EQ(RunQuietly(L"/quiet /log run.log"), 3010u) << LogText();
    EXPECT_EQ(LineCount(StartsOf(L"patch.msi")), 1u);

    ServeStandIns("exit=0", "exit=3010");
    EXPECT_EQ(RunQuietly(L"/quiet"), 3010u);

    // A later failure's code wins.
    ServeStandIns("exit=3010", "exit=1603");
    EXPECT_EQ(RunQuietly(L"/quiet"), 1603u);
}

TEST_F(Deployment, ARestartUnderWayEndsTheRunAtOnce)
{
    ServeStandIns("exit=1641", "exit=0");
    EXPECT_EQ(RunQuietly(L"/quiet"), 1641u);
    EXPECT_EQ(host.RequestCount(kServicePath), 0);
    EXPECT_EQ(host.RequestCount(kPatchPath), 0);
}

TEST_F(Deployment, AnInstallerThatFindsAnotherInstallationRunningIsStartedAgain)
{
    ServeStandIns("exit=1618 then=0", "exit=0");
    EXPECT_EQ(RunQuietly(L"/quiet /log run.log"), 0u) << LogText();
    EXPECT_EQ(LineCount(StartsOf(kAgentFile)), 2u);
    EXPECT_NE(LogText().find(kOtherInstallationRetry), std::string::npos) << LogText();

    // The test build gives up after 3 s: the installer's 1618 ends the run.
    host.Reset();
    ServeStandIns("exit=1618", "exit=0");
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(RunQuietly(L"/quiet"), 1618u);
    EXPECT_GE(std::chrono::steady_clock::now() - started, 3s);
    EXPECT_GE(LineCount(StartsOf(kAgentFile)), 5u);
    EXPECT_EQ(host.RequestCount(kServicePath), 0);
}

TEST_F(Deployment, NoInstallerStartsWhileWindowsInstallerRunsAnother)
{
    ServeStandIns("exit=0", "exit=0");
    // Windows Installer holds this mutex while it installs; the owner must
    // be the thread that lets it go.
    std::thread otherInstallation([] {
        const HANDLE mutex = CreateMutexW(nullptr, TRUE, L"Global\\_MSIExecute");
        std::this_thread::sleep_for(3s);
        ReleaseMutex(mutex);
        CloseHandle(mutex);
    });
    EXPECT_EQ(RunQuietly(L"/quiet /nopatchmanagement /log run.log"), 0u) << LogText();
    otherInstallation.join();
    EXPECT_NE(LogText().find("Another installation is in progress; waiting "), std::string::npos) << LogText();
    EXPECT_EQ(LineCount(StartsOf(kAgentFile)), 1u);
}

TEST_F(Deployment, CancelEndsAWaitForAnotherInstallationAtOnce)
{
    ServeStandIns("exit=0", "exit=0");
    // Held by this thread until the test ends.
    struct OtherInstallation {
        HANDLE mutex = CreateMutexW(nullptr, TRUE, L"Global\\_MSIExecute");
        ~OtherInstallation()
        {
            ReleaseMutex(mutex);
            CloseHandle(mutex);
        }
    } otherInstallation;
    session.emplace();
    session->Start(kDialogTimeout, std::nullopt, L"/passive /nopatchmanagement");
    ASSERT_TRUE(Dialog().WaitText(
        kDetailsLog, [](const std::wstring& log) { return log.find(L"Another installation") != std::wstring::npos; },
        30s));
    ASSERT_TRUE(Dialog().WaitEnabled(kCancel, 5s));
    Dialog().Click(kCancel);
    EXPECT_EQ(session->WaitForExit(10s), std::optional<DWORD>(1602));
    EXPECT_EQ(StartsOf(kAgentFile), "");
}

TEST_F(Deployment, TheUnattendedModesLogToTheTemporaryFolderUnlessToldWhere)
{
    namespace fs = std::filesystem;
    const auto defaultLogs = [] {
        std::set<fs::path> logs;
        for (const fs::directory_entry& entry : fs::directory_iterator(fs::temp_directory_path())) {
            const std::wstring name = entry.path().filename().wstring();
            // Not msiexec's log beside it, named "<log>.agent.log".
            if (name.rfind(L"vta_agent_download_manager_", 0) == 0 && entry.path().extension() == L".log" &&
                entry.path().stem().extension() != L".agent")
                logs.insert(entry.path());
        }
        return logs;
    };
    const std::set<fs::path> before = defaultLogs();
    ServeStandIns("exit=0", "exit=0");
    EXPECT_EQ(RunQuietly(L"/quiet"), 0u);

    std::set<fs::path> made = defaultLogs();
    for (const fs::path& earlier : before)
        made.erase(earlier);
    ASSERT_EQ(made.size(), 1u);
    const fs::path log = *made.begin();
    // Nobody can plant anything at a name made of the time, this process and chance.
    EXPECT_TRUE(std::regex_match(log.filename().wstring(),
                                 std::wregex(L"vta_agent_download_manager_\\d{8}_\\d{6}_\\d+_[0-9a-f]{8}\\.log")))
        << log;
    const std::string text = Files().Read(log);  // a full path stays itself
    EXPECT_NE(text.find("Exit code 0"), std::string::npos) << text;
    fs::path agentLog = log;
    agentLog += L".agent.log";
    EXPECT_TRUE(fs::exists(agentLog));
    fs::remove(log);
    fs::remove(agentLog);
}

}  // namespace
}  // namespace gui_test
