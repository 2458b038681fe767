#include <gtest/gtest.h>

#include <climits>

#include "progress_math.h"

namespace {

TEST(ProgressMath, QuarterOfTheAgentAloneAndWithPatchManagement)
{
    EXPECT_EQ(progress::FileLabel(1048576, 4194304), L"1048576 bytes( 25% ) out of 4194304 bytes");
    const int64_t position = progress::NextTotalPosition(0, 1048576, 4194304, 2);
    EXPECT_EQ(position, 125);
    EXPECT_EQ(progress::TotalLabel(125, 500), L"Total progress ( 25% )");
    EXPECT_EQ(progress::TotalLabel(125, 1000), L"Total progress ( 12% )");
}

TEST(ProgressMath, SecondFileIsCarriedIntoTheUpperHalf)
{
    // The agent left the bar at 500; the second file's small share lies below.
    EXPECT_EQ(progress::NextTotalPosition(500, 100, 1000, 2), 550);
    EXPECT_EQ(progress::TotalLabel(550, 1000), L"Total progress ( 55% )");
    EXPECT_EQ(progress::NextTotalPosition(550, 400, 1000, 2), 700);
    // A layout's third file goes on from 1000 of 1500; the last file's bar
    // never goes past its own share.
    EXPECT_EQ(progress::NextTotalPosition(1000, 100, 1000, 3), 1050);
    EXPECT_EQ(progress::NextTotalPosition(1000, 100, 1000, 2), 550);
}

TEST(ProgressMath, ASecondFileReportedOnlyWhenCompleteFillsTheBar)
{
    // A package without a Content-Length, or one that arrived in one piece,
    // is reported once, complete, while the bar stands at exactly 500.
    EXPECT_EQ(progress::NextTotalPosition(500, 1000, 1000, 2), 1000);
    EXPECT_EQ(progress::NextTotalPosition(500, 1, 1, 2), 1000);
}

TEST(ProgressMath, TheFirstFileStaysInTheLowerHalf)
{
    EXPECT_EQ(progress::NextTotalPosition(0, 0, 1000, 2), 0);
    EXPECT_EQ(progress::NextTotalPosition(250, 500, 1000, 2), 250);
    EXPECT_EQ(progress::NextTotalPosition(499, 1000, 1000, 2), 500);
}

TEST(ProgressMath, FileBarTakesSmallFilesAsTheyAre)
{
    const progress::BarPosition bar = progress::FileBar(2048, 2500);
    EXPECT_EQ(bar.upper, 2500);
    EXPECT_EQ(bar.position, 2048);
}

TEST(ProgressMath, FilesOf2GiBAndMoreAreScaledOntoTheBarWhileTheLabelKeepsTheBytes)
{
    const int64_t total = 6LL * 1024 * 1024 * 1024;
    const progress::BarPosition bar = progress::FileBar(total / 3, total);
    EXPECT_LE(bar.upper, INT_MAX);
    EXPECT_GT(bar.upper, INT_MAX / 2);
    EXPECT_NEAR(static_cast<double>(bar.position) / bar.upper, 1.0 / 3, 1e-6);
    EXPECT_EQ(progress::FileLabel(total / 3, total), L"2147483648 bytes( 33% ) out of 6442450944 bytes");

    const progress::BarPosition full = progress::FileBar(INT_MAX + 1LL, INT_MAX + 1LL);
    EXPECT_EQ(full.position, full.upper);
}

}  // namespace
