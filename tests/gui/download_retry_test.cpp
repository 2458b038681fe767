// Downloads over networks that fail on the way: the unattended modes try a
// failure that passes again, going on from the bytes kept where the host
// allows; the dialog makes one attempt.
#include <windows.h>

#include <chrono>
#include <string>
#include <vector>

#include "unattended_run.h"

namespace gui_test {
namespace {

constexpr char kValidator[] = "\"agent-1\"";
constexpr char kUntrustedPatchUrl[] = "https://localhost:47445/pm/patch.msi";

// The agent package from a host that offers byte ranges, the connection
// dropping after `cutAfter` bytes of the answer; for one request if `times`.
Route RangedPackage(std::optional<size_t> cutAfter = std::nullopt, int times = 0)
{
    Route route = Body(SamplePackage("agent.msi"));
    route.ranges = true;
    route.headers = {{"Accept-Ranges", "bytes"}, {"ETag", kValidator}};
    route.cut_after = cutAfter;
    route.times = times;
    return route;
}

Route CutPackage(size_t cutAfter, int times)
{
    Route route = Body(SamplePackage("agent.msi"));
    route.cut_after = cutAfter;
    route.times = times;
    return route;
}

class DownloadRetries : public UnattendedTest {
protected:
    DWORD RunAgentOnly() { return RunQuietly(L"/quiet /nopatchmanagement /log run.log"); }

    bool Logged(const std::string& text) const { return LogText().find(text) != std::string::npos; }

    void ExpectTheWholePackageInstalled() const
    {
        EXPECT_EQ(Files().Read(kAgentFile), SamplePackage("agent.msi"));
        EXPECT_TRUE(IsInstalled(kAgentProduct));
    }
};

TEST_F(DownloadRetries, TwoCutsWithRangesResumeFromTheBytesKept)
{
    const size_t total = SamplePackage("agent.msi").size();
    host.SetRoute(kAgentPath, RangedPackage(3000, 2));
    host.SetRoute(kAgentPath, RangedPackage());
    EXPECT_EQ(RunAgentOnly(), 0u);

    // Never from 0 again: bytes served are the package's, once.
    EXPECT_EQ(host.HeaderOfEachRequest(kAgentPath, "Range"),
              (std::vector<std::string>{"", "bytes=3000-", "bytes=6000-"}));
    EXPECT_EQ(host.HeaderOfEachRequest(kAgentPath, "If-Range"),
              (std::vector<std::string>{"", kValidator, kValidator}));
    ExpectTheWholePackageInstalled();
    const std::string of = " of " + std::to_string(total) + " bytes (error 20011); resuming in ";
    EXPECT_TRUE(Logged("Download interrupted after 3000" + of)) << LogText();
    EXPECT_TRUE(Logged("Download interrupted after 6000" + of)) << LogText();
    EXPECT_TRUE(Logged(" s, attempt 3 of 5")) << LogText();
}

TEST_F(DownloadRetries, ACutWithoutRangesStartsTheFileOver)
{
    host.SetRoute(kAgentPath, CutPackage(3000, 1));
    host.SetRoute(kAgentPath, Body(SamplePackage("agent.msi")));
    EXPECT_EQ(RunAgentOnly(), 0u);

    EXPECT_EQ(host.HeaderOfEachRequest(kAgentPath, "Range"), (std::vector<std::string>{"", ""}));
    ExpectTheWholePackageInstalled();
    EXPECT_TRUE(Logged("(error 20011); trying again in 0.1 s")) << LogText();
}

// A host whose package changed meanwhile answers a range with the whole new
// body (200): the bytes kept go.
TEST_F(DownloadRetries, AnAnswerWithTheWholeBodyStartsTheFileOver)
{
    Route before = RangedPackage(3000, 1);
    before.headers = {{"Accept-Ranges", "bytes"}, {"ETag", "\"agent-0\""}};
    host.SetRoute(kAgentPath, before);
    host.SetRoute(kAgentPath, RangedPackage());
    EXPECT_EQ(RunAgentOnly(), 0u);

    EXPECT_EQ(host.HeaderOfEachRequest(kAgentPath, "If-Range"), (std::vector<std::string>{"", "\"agent-0\""}));
    ExpectTheWholePackageInstalled();
}

// One that cannot continue the bytes kept (416) is asked again at once
// without a range.
TEST_F(DownloadRetries, ARefusedRangeIsAskedAgainFromTheStart)
{
    host.SetRoute(kAgentPath, RangedPackage(3000, 1));
    Route refused = Body("", 416);
    refused.times = 1;
    host.SetRoute(kAgentPath, refused);
    host.SetRoute(kAgentPath, RangedPackage());
    EXPECT_EQ(RunAgentOnly(), 0u);

    EXPECT_EQ(host.HeaderOfEachRequest(kAgentPath, "Range"), (std::vector<std::string>{"", "bytes=3000-", ""}));
    ExpectTheWholePackageInstalled();
}

TEST_F(DownloadRetries, BusyAnswersAreWaitedOutForAsLongAsTheHostAsks)
{
    Route busy = Body("busy", 503);
    // Longer than the test build's back-off (0.1 s, then 0.2 s).
    busy.headers = {{"Retry-After", "1"}};
    busy.times = 2;
    host.SetRoute(kAgentPath, busy);
    host.SetRoute(kAgentPath, Body(SamplePackage("agent.msi")));
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(RunAgentOnly(), 0u);

    EXPECT_GE(std::chrono::steady_clock::now() - started, 2s);
    EXPECT_EQ(host.RequestCount(kAgentPath), 3);
    EXPECT_TRUE(Logged("Download failed (error 20503); trying again in 1.0 s, attempt 3 of 5")) << LogText();
    ExpectTheWholePackageInstalled();
}

TEST_F(DownloadRetries, LastingFailuresAreNotTriedAgain)
{
    host.SetRoute(kAgentPath, Body("missing", 404));
    EXPECT_EQ(RunAgentOnly(), 20404u);
    EXPECT_EQ(host.RequestCount(kAgentPath), 1);

    // A certificate nobody vouches for: one attempt (with its one open that
    // ignores the unknown authority).
    host.Reset();
    host.SetRoute(kAgentPath, Body(SamplePackage("agent.msi")));
    host.SetRoute(kPatchPath, Body(SamplePackage("patch.msi")));
    host.SetRoute(kServicePath, Body(ServiceAnswer(kUntrustedPatchUrl, "msiexec /i patch.msi /qn")));
    EXPECT_EQ(RunQuietly(L"/quiet /log run.log"), static_cast<DWORD>(ERROR_INTERNET_INVALID_CA));
    EXPECT_LE(host.ConnectionCount("untrusted"), 2);
    EXPECT_FALSE(Logged("trying again")) << LogText();
}

TEST_F(DownloadRetries, AHostThatAlwaysCutsGetsFiveAttemptsThenTheError)
{
    host.SetRoute(kAgentPath, RangedPackage(1000));
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(RunAgentOnly(), 20011u);

    // The test build's waits: 0.1, 0.2, 0.4 and 0.8 s, each up to a quarter
    // longer.
    const auto took = std::chrono::steady_clock::now() - started;
    EXPECT_GE(took, 1500ms);
    EXPECT_LT(took, 15s);
    EXPECT_EQ(host.HeaderOfEachRequest(kAgentPath, "Range"),
              (std::vector<std::string>{"", "bytes=1000-", "bytes=2000-", "bytes=3000-", "bytes=4000-"}));
    EXPECT_FALSE(Files().Exists(kAgentTempFile));
    EXPECT_FALSE(IsInstalled(kAgentProduct));
}

using OneAttempt = RealInstallerTest;

TEST_F(OneAttempt, TheDialogEndsACutDownloadAtOnce)
{
    host.SetRoute(kAgentPath, RangedPackage(3000));
    StartRun(false);
    WaitForEnd();

    EXPECT_EQ(Log(), Lines({kDownloading, L"Error downloading VTA Agent Installer \r\n"}));
    EXPECT_EQ(host.RequestCount(kAgentPath), 1);
}

}  // namespace
}  // namespace gui_test
