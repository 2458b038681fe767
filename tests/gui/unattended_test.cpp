// The unattended modes, as deployment tools and scripts use them: no window
// (/quiet) or no click (/passive), an exit code to act on, a log on request.
#include <windows.h>
#include <aclapi.h>
#include <sddl.h>
#include <wininet.h>

#include "unattended_run.h"

namespace gui_test {
namespace {

constexpr wchar_t kTokenExecutable[] = L"vta_agent_download_manager_sSECRET77.exe";

using Unattended = UnattendedTest;

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
    // Three answers that do not parse, 1 s and then 2 s apart: the last
    // attempt's cause.
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(RunQuietly(L"/quiet"), static_cast<DWORD>(ERROR_INVALID_DATA));
    EXPECT_GE(std::chrono::steady_clock::now() - started, 3s);
    EXPECT_EQ(host.RequestCount(kServicePath), 3);
    EXPECT_TRUE(IsInstalled(kAgentProduct));
}

TEST_F(Unattended, AStalledBodyEndsItsAttemptWithinTheTimeOut)
{
    Route stalls = Body(std::string(256 * 1024, 'p'));
    stalls.chunk = 8192;
    stalls.chunk_delay_ms = 60000;
    stalls.times = 1;
    host.SetRoute(kAgentPath, stalls);
    host.SetRoute(kAgentPath, Body(SamplePackage("agent.msi")));
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(RunQuietly(L"/quiet /nopatchmanagement /log run.log"), 0u);
    // The test build waits 3 s (10 s where emulated) for a silent network,
    // then 0.1 to 0.125 s.
    EXPECT_LT(std::chrono::steady_clock::now() - started, 20s);
    EXPECT_EQ(host.RequestCount(kAgentPath), 2);
    EXPECT_NE(LogText().find("Download interrupted after 8192 of 262144 bytes (error 12002); trying again in 0.1 s"),
              std::string::npos)
        << LogText();
    EXPECT_TRUE(IsInstalled(kAgentProduct));
}

// The security of the event that keeps copies apart, as another process reads it.
std::wstring InstanceEventSecurity()
{
    const HANDLE event = ::OpenEventW(READ_CONTROL, FALSE, kInstanceEvent);
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    wchar_t* text = nullptr;
    constexpr SECURITY_INFORMATION kRead = OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
    if (event && ::GetSecurityInfo(event, SE_KERNEL_OBJECT, kRead, nullptr, nullptr, nullptr, nullptr, &descriptor) == 0)
        ::ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor, SDDL_REVISION_1, kRead, &text, nullptr);
    const std::wstring security = text ? text : L"";
    ::LocalFree(text);
    ::LocalFree(descriptor);
    if (event)
        ::CloseHandle(event);
    return security;
}

TEST_F(Unattended, ASecondQuietCopyEndsAtOnceWithAlreadyRunning)
{
    host.SetRoute(kAgentPath, SlowBody());
    Launch();
    PressOk(false);
    ProductSession second;
    second.StartWindowless(L"/quiet");
    EXPECT_EQ(second.WaitForExit(15s), std::optional<DWORD>(1618));
    // Owned by the Administrators group, opened by administrators alone.
    EXPECT_EQ(InstanceEventSecurity(), L"O:BAD:P(A;;GA;;;SY)(A;;GA;;;BA)");
}

// Anybody may create the event's name first; under Wine, what this test
// process creates is owned as a standard user's would be: by no
// administrator.
TEST_F(Unattended, AnInstanceEventNoAdministratorOwnsStopsNoRun)
{
    host.SetRoute(kAgentPath, Body(SamplePackage("agent.msi")));
    for (const wchar_t* security : {L"", L"D:P(D;;GA;;;WD)"}) {
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        ::ConvertStringSecurityDescriptorToSecurityDescriptorW(security, SDDL_REVISION_1, &descriptor, nullptr);
        SECURITY_ATTRIBUTES attributes{sizeof(attributes), descriptor, FALSE};
        const HANDLE planted = ::CreateEventW(*security ? &attributes : nullptr, FALSE, FALSE, kInstanceEvent);
        EXPECT_EQ(RunQuietly(L"/quiet /nopatchmanagement /log run.log"), 0u) << security;
        EXPECT_NE(LogText().find("The single-instance event is held by a process that is not elevated; going on"),
                  std::string::npos)
            << LogText();
        ::CloseHandle(planted);
        ::LocalFree(descriptor);
    }
    EXPECT_TRUE(IsInstalled(kAgentProduct));
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
    EXPECT_EQ(RunQuietly(L"/quiet /bogus /log run.log"), 87u);
    EXPECT_NE(LogText().find("The command line is not understood: Unknown switch: /bogus"), std::string::npos);
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

// A layout made once by /quiet; then, with the download host and the web
// service closed, an install from it in each mode.
// The host's listeners are closed on the way: they open again for whatever
// runs next.
class FromALayout : public UnattendedTest, public ::testing::WithParamInterface<const wchar_t*> {
protected:
    void TearDown() override
    {
        host.Reset();
        UnattendedTest::TearDown();
    }
};

TEST_P(FromALayout, InstallsBothPackagesWithoutTheNetwork)
{
    ServeBothPackages();
    host.SetRoute("/vta/vta-agent-x86.msi", Body(SamplePackage("agent.msi")));
    const ScratchDirectory layout;
    const std::wstring folder = L" \"" + layout.Path().wstring() + L"\"";
    ASSERT_EQ(RunQuietly(L"/quiet /layout" + folder, kTokenExecutable), 0u);
    EXPECT_TRUE(layout.Exists(L"vta-agent-x86.msi"));
    EXPECT_FALSE(IsInstalled(kAgentProduct));

    host.SetListenerOpen("download", false);
    host.SetListenerOpen("service", false);
    const std::wstring mode = GetParam();
    if (mode == L"/quiet") {
        EXPECT_EQ(RunQuietly(L"/quiet /source" + folder, kTokenExecutable), 0u);
    } else {
        session.emplace(kTokenExecutable);
        session->Start(kDialogTimeout, std::nullopt, mode + L" /source" + folder);
        if (mode.empty()) {
            PressOk(true);
            ASSERT_TRUE(StatusBecomes(L"Patch Management installation finished")) << testing::PrintToString(Log());
        } else {
            EXPECT_EQ(session->WaitForExit(kExitTimeout), std::optional<DWORD>(0));
        }
    }
    EXPECT_TRUE(IsInstalled(kAgentProduct));
    EXPECT_TRUE(IsInstalled(kPatchProduct));
}

INSTANTIATE_TEST_SUITE_P(, FromALayout, ::testing::Values(L"/quiet", L"/passive", L""),
                         [](const ::testing::TestParamInfo<const wchar_t*>& info) {
                             return std::wstring(info.param) == L"/quiet"     ? std::string("Quiet")
                                    : std::wstring(info.param) == L"/passive" ? std::string("Passive")
                                                                               : std::string("Dialog");
                         });

}  // namespace
}  // namespace gui_test
