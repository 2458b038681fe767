// Cancel during a download ends it at once, whatever the host does: a person
// on a bad network must always be able to leave.
#include <chrono>
#include <iostream>
#include <thread>

#include "system_msiexec_stand_in.h"
#include "product_test.h"

namespace gui_test {
namespace {

constexpr wchar_t kAgentCancelled[] = L"VTA Agent download cancelled by user";
constexpr auto kCancelBound = 1s;

class CancelDuringDownload : public ProductTest {
protected:
    // Presses Cancel and returns how long the dialog took to say the
    // download was cancelled.
    std::chrono::milliseconds CancelAndMeasure(const wchar_t* cancelledStatus = kAgentCancelled)
    {
        const auto clicked = std::chrono::steady_clock::now();
        Dialog().Click(kCancel);
        EXPECT_TRUE(StatusBecomes(cancelledStatus, 30s));
        const auto latency =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - clicked);
        std::cout << "cancel latency (" << ::testing::UnitTest::GetInstance()->current_test_info()->name()
                  << "): " << latency.count() << " ms\n";
        return latency;
    }

    // A cancelled agent download, as it has always ended.
    void ExpectCancelledEnding()
    {
        WaitForEnd();
        EXPECT_EQ(Log(), Lines({kDownloading, L"VTA Agent download cancelled by user.\r\n", kAborted}));
        ExpectFailureEnding();
        EXPECT_FALSE(Files().Exists(kAgentTempFile));
        EXPECT_FALSE(Files().Exists(kAgentFile));
        EXPECT_FALSE(Files().Exists(std::wstring(kAgentFile) + L".ran"));
    }

    const SystemMsiexecStandIn installer;
};

TEST_F(CancelDuringDownload, AHealthySlowDownloadStopsWithinATenthOfASecond)
{
    host.SetRoute(kAgentPath, SlowBody());
    StartRun(false);
    ASSERT_TRUE(Dialog().WaitText(kFileLabel, [](const std::wstring& t) { return !t.empty(); }, 30s));
    EXPECT_LT(CancelAndMeasure(), 250ms);
    ExpectCancelledEnding();
}

TEST_F(CancelDuringDownload, AHostSilentAfterPartOfTheBodyIsLeftAtOnce)
{
    Route stalls = Body(std::string(256 * 1024, 'p'));
    stalls.chunk = 8192;
    stalls.chunk_delay_ms = 60000;
    host.SetRoute(kAgentPath, stalls);
    StartRun(false);
    ASSERT_TRUE(uidriver::PollUntil([this] { return host.RequestCount(kAgentPath) == 1; }, 10s));
    std::this_thread::sleep_for(1s);
    EXPECT_LT(CancelAndMeasure(), kCancelBound);
    ExpectCancelledEnding();
}

TEST_F(CancelDuringDownload, AHostHoldingTheHeadersBackIsLeftAtOnce)
{
    Route silent = Body(std::string(64 * 1024, 'p'));
    silent.pause_before_ms = 60000;
    host.SetRoute(kAgentPath, silent);
    StartRun(false);
    ASSERT_TRUE(uidriver::PollUntil([this] { return host.RequestCount(kAgentPath) == 1; }, 10s));
    EXPECT_LT(CancelAndMeasure(), kCancelBound);
    ExpectCancelledEnding();
}

// The package host accepts the connection and never answers the TLS handshake.
TEST_F(CancelDuringDownload, AHostThatNeverAnswersTheHandshakeIsLeftAtOnce)
{
    host.SetRoute(kAgentPath, Body(InstallerExitingWith(0)));
    host.SetRoute(kServicePath,
                  Body(ServiceAnswer("https://localhost:47447/pm/patch.msi",
                                     "\"" + SystemMsiexecStandIn::Installer().string() + "\" /i patch.msi")));
    StartRun(true);
    ASSERT_TRUE(uidriver::PollUntil([this] { return host.ConnectionCount("silent") >= 1; }, 60s));
    EXPECT_LT(CancelAndMeasure(L"Patch Management download cancelled by user"), kCancelBound);
    WaitForEnd();
    EXPECT_EQ(Log().substr(Log().rfind(L"Downloading Patch Management Installer. \r\n")),
              Lines({L"Downloading Patch Management Installer. \r\n", L"Patch Management download cancelled by user.\r\n",
                     kAborted}));
    ExpectFailureEnding();
    EXPECT_FALSE(Files().Exists(L"patch.msitemp"));
    EXPECT_FALSE(Files().Exists(L"patch.msi"));
}

}  // namespace
}  // namespace gui_test
