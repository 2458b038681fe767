#include <gtest/gtest.h>

#include <climits>

#include "download_text.h"
#include "web_origin.h"
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

// What an answer's address must match: the host and port asked, over https,
// however the address spells them.
TEST(AnswerOrigin, OnlyHttpsOnTheHostAndPortAskedMatches)
{
    const std::optional<WebUrl> asked = ParseWebUrl(L"http://LocalHost:47443/pm/p.msi?x=1#top");
    ASSERT_TRUE(asked);
    EXPECT_EQ(asked->host, L"localhost");
    EXPECT_EQ(asked->port, 47443);
    EXPECT_EQ(asked->object, L"/pm/p.msi?x=1");
    EXPECT_EQ(ParseWebUrl(L"https://h")->object, L"/");
    EXPECT_EQ(ParseWebUrl(L"https://h?q")->object, L"/?q");
    EXPECT_EQ(ParseWebUrl(L"https://[::1]/")->host, L"[::1]");
    for (const wchar_t* url : {L"https://localhost:47443/other", L"HTTPS://LOCALHOST:47443"})
        EXPECT_TRUE(IsHttpsOn(url, *asked)) << testing::PrintToString(std::wstring(url));
    for (const wchar_t* url : {L"http://localhost:47443/pm/p.msi", L"https://localhost/pm/p.msi",
                               L"https://localhost:47444/", L"https://evil.test:47443/", L"https://localhost.evil:47443/",
                               L"https://evil.test@localhost:47443/", L"https://localhost:47443x/", L""})
        EXPECT_FALSE(IsHttpsOn(url, *asked)) << testing::PrintToString(std::wstring(url));
    EXPECT_EQ(ParseWebUrl(L"https://host/")->port, 443);
    EXPECT_EQ(ParseWebUrl(L"http://host/")->port, 80);
    for (const wchar_t* url : {L"https://:443/", L"https://h:0/", L"https://h:65536/", L"https://[::1/", L"ftp://h/"})
        EXPECT_FALSE(ParseWebUrl(url)) << testing::PrintToString(std::wstring(url));
    for (const uint32_t status : {301u, 302u, 303u, 307u, 308u})
        EXPECT_TRUE(IsFollowedRedirect(status));
    for (const uint32_t status : {200u, 300u, 304u, 305u, 306u})
        EXPECT_FALSE(IsFollowedRedirect(status));
}

}  // namespace
