#include <gtest/gtest.h>

#include <climits>

#include "download_text.h"
#include "progress_pacing.h"

namespace {

TEST(ContentLength, ReadsLikeASigned32BitDecimal)
{
    EXPECT_EQ(ParseContentLength(L"2500"), 2500);
    EXPECT_EQ(ParseContentLength(L"  \t+42"), 42);
    EXPECT_EQ(ParseContentLength(L"-7"), -7);
    EXPECT_EQ(ParseContentLength(L"12abc"), 12);
    EXPECT_EQ(ParseContentLength(L"abc"), 0);
    EXPECT_EQ(ParseContentLength(L""), 0);
    EXPECT_EQ(ParseContentLength(L"2147483647"), INT_MAX);
    EXPECT_EQ(ParseContentLength(L"2147483648"), INT_MAX);
    EXPECT_EQ(ParseContentLength(L"99999999999999999999999"), INT_MAX);
    EXPECT_EQ(ParseContentLength(L"-2147483648"), INT_MIN);
    EXPECT_EQ(ParseContentLength(L"-99999999999"), INT_MIN);
}

TEST(ProgressPacing, ReportsTheFirstChunkAtOnceThenAtMostEvery100Ms)
{
    ProgressPacing pacing;
    EXPECT_TRUE(pacing.ShouldReport(1000));
    EXPECT_FALSE(pacing.ShouldReport(1050));
    EXPECT_FALSE(pacing.ShouldReport(1099));
    EXPECT_TRUE(pacing.ShouldReport(1100));
    EXPECT_FALSE(pacing.ShouldReport(1150));
}

TEST(PackageUrl, OnlyWebAddressesAreFetched)
{
    for (const wchar_t* url : {L"https://host/pm.msi", L"http://host/pm.msi", L"HTTPS://HOST/PM.MSI", L"Http://h"})
        EXPECT_TRUE(IsWebUrl(url)) << testing::PrintToString(std::wstring(url));
    for (const wchar_t* url : {L"ftp://host/pm.msi", L"file:///C:/pm.msi", L"\\\\server\\share\\pm.msi",
                               L"C:\\temp\\pm.msi", L"pm.msi", L"https:/host/pm.msi", L" https://host/pm.msi",
                               L"https", L""})
        EXPECT_FALSE(IsWebUrl(url)) << testing::PrintToString(std::wstring(url));
}

}  // namespace
