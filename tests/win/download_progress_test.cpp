// A download tried again shows its progress as one download: the file bar
// goes on from the bytes kept when it resumes, and stands still when it
// starts over until the new attempt passes it. Neither bar ever goes back.
#include <gtest/gtest.h>

#include <algorithm>

#include "install_sequence_run.h"

namespace {

using namespace install_test;

constexpr size_t kCutAfter = 100000;

// A package paced to be reported on the way: 25 pieces of 8 KiB, 40 ms apart.
gui_test::Route PacedPackage(bool ranges)
{
    gui_test::Route route = Body("exit=0" + std::string(200 * 1024, 'p'));
    route.chunk = 8192;
    route.chunk_delay_ms = 40;
    route.ranges = ranges;
    if (ranges)
        route.headers = {{"Accept-Ranges", "bytes"}, {"ETag", "\"paced\""}};
    return route;
}

class RetriedDownloadProgress : public InstallSequenceRun {
protected:
    void SetUp() override
    {
        InstallSequenceRun::SetUp();
        choices.patchManagement = false;
        choices.retryPassingFailures = true;
        choices.networkTimeoutMs = 10000;
    }

    // Serves the package cut once, then whole; runs the sequence.
    void RunCutOnce(bool ranges)
    {
        gui_test::Route cut = PacedPackage(ranges);
        cut.cut_after = kCutAfter;
        cut.times = 1;
        host.SetRoute(kAgentPath, cut);
        host.SetRoute(kAgentPath, PacedPackage(ranges));
        ASSERT_EQ(Run().exitCode, 0u);
        ASSERT_EQ(host.RequestCount(kAgentPath), 2);
    }

    bool NeverGoesBack() const
    {
        return std::is_sorted(recorder.progress.begin(), recorder.progress.end(),
                              [](const auto& a, const auto& b) { return a.done < b.done; });
    }

    // Reports of the second attempt: those beyond the cut.
    size_t ReportsBeyondTheCut() const
    {
        return std::count_if(recorder.progress.begin(), recorder.progress.end(),
                             [](const auto& report) { return report.done > static_cast<LONGLONG>(kCutAfter); });
    }
};

TEST_F(RetriedDownloadProgress, AResumedDownloadGoesOnFromTheBytesKept)
{
    RunCutOnce(true);
    EXPECT_TRUE(NeverGoesBack());
    EXPECT_GE(ReportsBeyondTheCut(), 3u);
    const LONGLONG total = static_cast<LONGLONG>(PacedPackage(true).body.size());
    for (const auto& report : recorder.progress)
        EXPECT_EQ(report.total, total);
    EXPECT_EQ(recorder.progress.back().done, total);
}

TEST_F(RetriedDownloadProgress, ADownloadThatStartsOverStandsStillUntilItPassesWhereItWas)
{
    RunCutOnce(false);
    EXPECT_TRUE(NeverGoesBack());
    EXPECT_GE(ReportsBeyondTheCut(), 3u);
}

}  // namespace
