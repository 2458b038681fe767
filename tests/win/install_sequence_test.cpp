// The installation run in-process against the loopback test host, with a
// host that records every text, button change and ending in order: the
// exact words and orders a user reads, including the passing ones no screen
// reader could catch.
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "exit_codes.h"
#include "install_sequence_run.h"
#include "polling.h"

namespace {

using namespace install_test;

TEST_F(InstallSequenceRun, AFullRunReportsEveryStepInOrder)
{
    ServePatchManagement();
    host.SetRoute(kPatchPath, Body("exit=0"));
    const RunResult result = Run();

    EXPECT_EQ(recorder.events,
              Joined({kAgentInstalled, kRetrievedAndDownloading,
                      {L"Cancel disabled",
                       L"status: Download finished. Beginning Patch Management installation process",
                       L"log: Download finished. Beginning Patch Management installation process.\r\n",
                       L"status: Patch Management installation finished",
                       L"log: Patch Management installation finished.\r\n", L"ended"}}));
    EXPECT_EQ(result.threadResult, RunResult::kCompleted);
    EXPECT_EQ(result.exitCode, exit_codes::kSuccess);
    EXPECT_EQ(recorder.ended.exitCode, exit_codes::kSuccess);
    // The last report of each file is its complete one.
    ASSERT_FALSE(recorder.progress.empty());
    EXPECT_EQ(recorder.progress.back().done, recorder.progress.back().total);
    EXPECT_TRUE(directory.Exists(L"vta-agent-x64_sT1.msi.ran"));
    EXPECT_TRUE(directory.Exists(L"pm.msi.ran"));
}

TEST_F(InstallSequenceRun, WithoutPatchManagementTheRunEndsAfterTheAgentWithCancelEnabled)
{
    choices.patchManagement = false;
    const RunResult result = Run();
    Events expected(kAgentInstalled.begin(), kAgentInstalled.end() - 2);
    expected.push_back(L"ended");
    EXPECT_EQ(recorder.events, expected);
    EXPECT_EQ(result.threadResult, RunResult::kCompleted);
    EXPECT_EQ(host.RequestCount(kServicePath), 0);
}

TEST_F(InstallSequenceRun, TwoFailedRetrievalsAreRetriedWithTheirTexts)
{
    ServePatchManagement();
    gui_test::Route twoFailures = Body("service unavailable", 503);
    twoFailures.times = 2;
    host.SetRoute(kServicePath, twoFailures);
    host.SetRoute(kPatchPath, Body("exit=0"));
    Run();
    const Events expectedStart = Joined({kAgentInstalled, kRetrying, kRetrying, kRetrievedAndDownloading});
    ASSERT_GE(recorder.events.size(), expectedStart.size());
    EXPECT_EQ(Events(recorder.events.begin(), recorder.events.begin() + expectedStart.size()), expectedStart);
}

TEST_F(InstallSequenceRun, ThreeFailedRetrievalsEndTheRunWithTheirCause)
{
    host.SetRoute(kServicePath, Body("service unavailable", 503));
    RunResult result = Run();
    EXPECT_EQ(recorder.events,
              Joined({kAgentInstalled, kRetrying, kRetrying,
                      {L"log: Failed to retrieve Patch Management download details. \r\n",
                       L"status: Failed to retrieve Patch Management download details"},
                      kFailureEnding}));
    EXPECT_EQ(result.threadResult, RunResult::kFailed);
    // The answer did not parse.
    EXPECT_EQ(result.exitCode, static_cast<DWORD>(ERROR_INVALID_DATA));

    // An answer that parses but refuses has no system error behind it.
    com::tarvic::vem::messaging::MsgWebResponse refusal = gui_test::PatchDetailsAnswer(kPatchUrl, "x");
    refusal.set_status(com::tarvic::vem::messaging::WEB_RESPONSE_STATUS_2);
    host.SetRoute(kServicePath, Body(refusal.SerializeAsString()));
    result = Run();
    EXPECT_EQ(result.exitCode, exit_codes::kDetailsRefused);
}

struct PatchDownloadEnding {
    const char* name;
    gui_test::Route route;
    const wchar_t* status;
    const wchar_t* logLine;
    uint32_t exitCode;
};

class PatchManagementDownloadFailure : public InstallSequenceRun,
                                       public ::testing::WithParamInterface<PatchDownloadEnding> {};

// Every failure of the second download, with its exact texts, the common
// ending, the run's exit code, and no temporary file left.
TEST_P(PatchManagementDownloadFailure, ReportsItsRowAndEndsTheRun)
{
    ServePatchManagement();
    host.SetRoute(kPatchPath, GetParam().route);
    const RunResult result = Run();

    EXPECT_EQ(PatchManagementEvents(), FailureEvents(GetParam().status, GetParam().logLine));
    EXPECT_EQ(result.threadResult, RunResult::kFailed);
    EXPECT_EQ(result.exitCode, GetParam().exitCode);
    EXPECT_FALSE(directory.Exists(L"pm.msitemp"));
    EXPECT_FALSE(directory.Exists(L"pm.msi"));
    EXPECT_FALSE(directory.Exists(L"pm.msi.ran"));
}

gui_test::Route CutShort()
{
    gui_test::Route route = Body(std::string(10000, 'p'));
    route.length = gui_test::ContentLength::Exactly(50000);
    return route;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PatchManagementDownloadFailure,
    ::testing::Values(
        PatchDownloadEnding{"NotFound", Body("missing", 404),
                            L"Error downloading Patch Management Installer - File not found",
                            L"Error downloading Patch Management Installer - File not found \r\n", 20404},
        PatchDownloadEnding{"ServerError", Body("broken", 500),
                            L"Error downloading Patch Management Installer - Internal Server Error",
                            L"Error downloading Patch Management Installer - Internal Server Error \r\n", 20500},
        PatchDownloadEnding{"Forbidden", Body("<html>no</html>", 403), kPatchDownloadError, kPatchDownloadErrorLine,
                            20403},
        PatchDownloadEnding{"CutShort", CutShort(), kPatchDownloadError, kPatchDownloadErrorLine,
                            exit_codes::kReadFailed}),
    [](const ::testing::TestParamInfo<PatchDownloadEnding>& info) { return info.param.name; });

TEST_F(InstallSequenceRun, APatchManagementFileThatCannotBeCreatedHasItsOwnLine)
{
    ServePatchManagement();
    host.SetRoute(kPatchPath, Body("exit=0"));
    std::filesystem::create_directory(directory.PathOf(L"pm.msitemp"));
    const RunResult result = Run();

    EXPECT_EQ(PatchManagementEvents(),
              FailureEvents(kPatchDownloadError, L"Error downloading Patch Management Installer. \r\n"));
    EXPECT_NE(result.exitCode, exit_codes::kSuccess);
    EXPECT_EQ(host.RequestCount(kPatchPath), 0);
}

TEST_F(InstallSequenceRun, AFailedMoveKeepsTheTemporaryFile)
{
    ServePatchManagement();
    host.SetRoute(kPatchPath, Body("exit=0"));
    // A directory where the package should go: the move cannot replace it.
    std::filesystem::create_directory(directory.PathOf(L"pm.msi"));
    const RunResult result = Run();

    EXPECT_EQ(PatchManagementEvents(), FailureEvents(kPatchLocalFileError, kPatchLocalFileErrorLine));
    EXPECT_EQ(directory.Read(L"pm.msitemp"), "exit=0");
    EXPECT_NE(result.exitCode, exit_codes::kSuccess);
}

// Only web addresses are fetched: whatever else the service names ends as a
// failed open, with nothing requested and no file written.
TEST_F(InstallSequenceRun, AURLOfAnotherSchemeIsRefused)
{
    for (const char* url : {"ftp://localhost:47443/pm/pm.msi", "file:///C:/windows/win.ini", "\\\\localhost\\c$\\pm.msi",
                            "C:\\windows\\pm.msi", "localhost:47443/pm/pm.msi"}) {
        recorder.events.clear();
        ServePatchManagement(url);
        host.SetRoute(kPatchPath, Body("exit=0"));
        const RunResult result = Run();
        EXPECT_EQ(PatchManagementEvents(), FailureEvents(kPatchDownloadError, kPatchDownloadErrorLine)) << url;
        EXPECT_EQ(result.exitCode, exit_codes::kUrlRefused) << url;
        EXPECT_EQ(host.RequestCount(kPatchPath), 0) << url;
        EXPECT_FALSE(directory.Exists(L"pm.msitemp")) << url;
    }
}

// The download insists on TLS whatever the URL's scheme says: an http://
// address of a TLS host works, and a plain-HTTP host never yields a file.
TEST_F(InstallSequenceRun, AnHttpURLStillTravelsOverTLS)
{
    ServePatchManagement("http://localhost:47443/pm/pm.msi");
    host.SetRoute(kPatchPath, Body("exit=0"));
    EXPECT_EQ(Run().exitCode, exit_codes::kSuccess);
    EXPECT_TRUE(directory.Exists(L"pm.msi.ran"));
    std::filesystem::remove(directory.PathOf(L"pm.msi"));

    recorder.events.clear();
    ServePatchManagement("http://localhost:47446/pm/pm.msi");
    const RunResult result = Run();
    EXPECT_EQ(PatchManagementEvents(), FailureEvents(kPatchDownloadError, kPatchDownloadErrorLine));
    EXPECT_NE(result.exitCode, exit_codes::kSuccess);
    EXPECT_FALSE(directory.Exists(L"pm.msi"));
    EXPECT_FALSE(directory.Exists(L"pm.msitemp"));
}

// Answers that did not come over TLS from the host asked, through a proxy
// that tunnels to the test host unless it answers a CONNECT itself: a
// proxy's own answer of any status, the host's redirect out of TLS, its 407,
// a success other than 200. Nothing of them is stored or run, and the proxy's
// credentials never reach the host.
struct UntrustedAnswer {
    const char* name;
    std::vector<std::pair<std::string, gui_test::Route>> routes;
    const wchar_t* untouchedFile;
    uint32_t exitCode;
    const wchar_t* note;
};

gui_test::Route WithHeader(gui_test::Route route, const char* name, const char* value)
{
    route.headers.emplace_back(name, value);
    return route;
}

class ThroughAProxy : public InstallSequenceRun, public ::testing::WithParamInterface<UntrustedAnswer> {
protected:
    void SetUp() override
    {
        InstallSequenceRun::SetUp();
        choices.proxy = choices.agentProxy = ProxySetting{L"127.0.0.1:47448", {L"proxy-user", L"proxy-secret"}};
        ServePatchManagement();
        host.SetRoute(kPatchPath, Body("exit=0"));
    }

    bool Noted(const std::wstring& text) const
    {
        return std::any_of(recorder.notes.begin(), recorder.notes.end(),
                           [&](const std::wstring& note) { return note.find(text) != std::wstring::npos; });
    }
};

TEST_P(ThroughAProxy, AnAnswerNotFromTheHostIsNeverUsed)
{
    for (const auto& [path, route] : GetParam().routes)
        host.SetRoute(path, route);
    const RunResult result = Run();

    EXPECT_EQ(result.exitCode, GetParam().exitCode);
    EXPECT_TRUE(Noted(GetParam().note)) << testing::PrintToString(recorder.notes);
    EXPECT_FALSE(directory.Exists(GetParam().untouchedFile));
    EXPECT_FALSE(directory.Exists(GetParam().untouchedFile + std::wstring(L".ran")));
    EXPECT_FALSE(directory.Exists(GetParam().untouchedFile + std::wstring(L"temp")));
    EXPECT_EQ(host.LastRequestHeader(kAgentPath, "Proxy-Authorization"), std::nullopt);
}

constexpr char kDownloadTunnel[] = "/connect/47443";
constexpr wchar_t kAgentPackage[] = L"vta-agent-x64_sT1.msi";
constexpr wchar_t kNotOverTls[] = L"did not come over TLS from localhost:";
const gui_test::Route kToPlainHttp =
    WithHeader(Body("moved", 302), "Location", "http://localhost:47446/plain/agent.msi");

INSTANTIATE_TEST_SUITE_P(
    Attacks, ThroughAProxy,
    ::testing::Values(
        UntrustedAnswer{"ServiceAnswerFromTheProxy",
                        {{"/connect/47444", Body(Answer(kPatchUrl, StandInCommand("pm.msi")), 403)}},
                        L"pm.msi", exit_codes::kAnswerNotFromHost, L"did not come over TLS from localhost:47444"},
        UntrustedAnswer{"PackageFromTheProxyAs203", {{kDownloadTunnel, Body("exit=0", 203)}}, kAgentPackage,
                        exit_codes::kAnswerNotFromHost, kNotOverTls},
        UntrustedAnswer{"PackageFromTheProxyAs206",
                        {{kDownloadTunnel, WithHeader(Body("exit=0", 206), "Content-Range", "bytes 0-5/6")}},
                        kAgentPackage, exit_codes::kAnswerNotFromHost, kNotOverTls},
        UntrustedAnswer{"RedirectFromTheProxy",
                        {{kDownloadTunnel, kToPlainHttp}, {"/plain/agent.msi", Body("exit=0")}}, kAgentPackage,
                        exit_codes::kAnswerNotFromHost, kNotOverTls},
        UntrustedAnswer{"HostsRedirectToPlainHttp", {{kAgentPath, kToPlainHttp}, {"/plain/agent.msi", Body("exit=0")}},
                        kAgentPackage, ERROR_HTTP_REDIRECT_FAILED, L"is not followed: it is not https"},
        UntrustedAnswer{"EndlessRedirects",
                        {{kAgentPath, WithHeader(Body("moved", 307), "Location", "https://localhost:47443/vta/vta-agent-x64.msi")}},
                        kAgentPackage, ERROR_HTTP_REDIRECT_FAILED, L"5 redirects are the most followed"},
        UntrustedAnswer{"HostsOtherSuccess", {{kAgentPath, Body("exit=0", 203)}}, kAgentPackage, 20203,
                        L"HTTP status 203"},
        UntrustedAnswer{"ProxyChallengeFromInsideTheTunnel",
                        {{kAgentPath, WithHeader(Body("", 407), "Proxy-Authenticate", "Basic realm=\"x\"")}},
                        kAgentPackage, 20407, L"asked for proxy credentials (407): they go only to the proxy"}),
    [](const ::testing::TestParamInfo<UntrustedAnswer>& info) { return info.param.name; });

// The same proxy tunnels a sound run, and the host's own redirect to https
// is followed, with a body or without one.
TEST_F(ThroughAProxy, ATunnelledRunFollowsTheHostsRedirectToHttps)
{
    host.SetRoute(kAgentPath, WithHeader(Body("", 302), "Location", "/moved/agent.msi"));
    host.SetRoute("/moved/agent.msi", Body("exit=0"));
    EXPECT_EQ(Run().exitCode, exit_codes::kSuccess);
    EXPECT_TRUE(Noted(L"HTTP status 302: redirected to https://localhost:47443/moved/agent.msi"));
    EXPECT_TRUE(directory.Exists(L"pm.msi.ran"));
    EXPECT_EQ(host.RequestCount("/connect/47444"), 1);
}

// A command without a package name names no file: nothing is written, and a
// user's file called "temp" is left alone.
TEST_F(InstallSequenceRun, ACommandWithoutAPackageNameWritesNoFile)
{
    ServePatchManagement(kPatchUrl, "setup.exe /quiet");
    host.SetRoute(kPatchPath, Body("exit=0"));
    directory.Write(L"temp", "the user's file");
    const RunResult result = Run();

    EXPECT_EQ(PatchManagementEvents(), FailureEvents(kPatchLocalFileError, kPatchLocalFileErrorLine));
    EXPECT_EQ(result.exitCode, exit_codes::kLocalFileFailed);
    EXPECT_EQ(directory.Read(L"temp"), "the user's file");
    EXPECT_EQ(host.RequestCount(kPatchPath), 0);
}

// The user's cancel, once the web service has been asked.
std::thread CancelOnceTheServiceIsAsked(RecordingHost& recorder)
{
    return std::thread([&recorder] {
        gui_test::TestHost control;
        uidriver::PollUntil([&control] { return control.RequestCount(kServicePath) == 1; }, 30s);
        recorder.cancel.SetEvent();
    });
}

// A cancel request made while the details are retrieved is seen by the next
// download after the answer's status, before its first read.
TEST_F(InstallSequenceRun, ACancelDuringTheRetrievalStopsThePatchDownloadBeforeItsFirstRead)
{
    gui_test::Route slowAnswer = Body(Answer(kPatchUrl, StandInCommand("pm.msi")));
    slowAnswer.pause_before_ms = 1000;
    host.SetRoute(kServicePath, slowAnswer);
    host.SetRoute(kPatchPath, Body("exit=0"));
    std::thread user = CancelOnceTheServiceIsAsked(recorder);
    const RunResult result = Run();
    user.join();

    EXPECT_EQ(PatchManagementEvents(),
              Joined({{L"status: Patch Management download cancelled by user",
                       L"log: Patch Management download cancelled by user.\r\n",
                       L"log: Download and installation processes aborted.\r\n"},
                      kFailureEnding}));
    EXPECT_EQ(result.threadResult, RunResult::kCancelled);
    EXPECT_EQ(result.exitCode, exit_codes::kUserCancelled);
    EXPECT_EQ(host.RequestCount(kPatchPath), 1);
    EXPECT_FALSE(directory.Exists(L"pm.msitemp"));
}

// Unattended, the pause before the web service is asked again ends at the
// user's cancel: no second request, and the run ends cancelled.
TEST_F(InstallSequenceRun, ACancelDuringThePauseBetweenRetrievalsEndsTheRun)
{
    choices.retryPassingFailures = true;
    host.SetRoute(kServicePath, Body("service unavailable", 503));
    std::thread user = CancelOnceTheServiceIsAsked(recorder);
    const RunResult result = Run();
    user.join();

    EXPECT_EQ(recorder.events,
              Joined({kAgentInstalled, kRetrying, {L"log: Download and installation processes aborted.\r\n"},
                      kFailureEnding}));
    EXPECT_EQ(result.exitCode, exit_codes::kUserCancelled);
    EXPECT_EQ(host.RequestCount(kServicePath), 1);
}

}  // namespace
