#include "download_retry.h"
#include "retry_policy.h"

#include <gtest/gtest.h>

namespace download_retry {
namespace {

TEST(DownloadRetry, OnlyFailuresThatPassAreTriedAgain)
{
    for (const uint32_t passing : {20011u, 12002u, 12029u, 12030u, 12031u, 20408u, 20429u, 20500u, 20502u, 20503u,
                                   20504u})
        EXPECT_TRUE(IsPassing(passing)) << passing;
    // Other statuses, certificates, the URL, the local file, cancel, a
    // package refused after its download, a disk that is full.
    for (const uint32_t lasting : {20404u, 20403u, 20401u, 20501u, 20505u, 12045u, 12038u, 12157u, 20012u, 20013u,
                                   1602u, 20016u, 20017u, 112u, 20010u, 0u})
        EXPECT_FALSE(IsPassing(lasting)) << lasting;
}

// A package download's policy, starting at `firstWaitMs`.
uint32_t WaitMs(int failedAttempt, uint32_t firstWaitMs, double jitter, std::optional<uint32_t> retryAfterSeconds)
{
    return RetryWaitMs({5, firstWaitMs, UINT32_MAX, true}, failedAttempt, jitter, retryAfterSeconds);
}

TEST(DownloadRetry, WaitsDoubleWithAQuarterOfJitterAndHonourALongerRetryAfterUpToTwoMinutes)
{
    EXPECT_EQ(WaitMs(1, 1000, 0, std::nullopt), 1000u);
    EXPECT_EQ(WaitMs(2, 1000, 0, std::nullopt), 2000u);
    EXPECT_EQ(WaitMs(3, 1000, 0, std::nullopt), 4000u);
    EXPECT_EQ(WaitMs(4, 1000, 0, std::nullopt), 8000u);
    EXPECT_EQ(WaitMs(4, 1000, 0.5, std::nullopt), 9000u);
    EXPECT_LT(WaitMs(4, 1000, 0.9999, std::nullopt), 10000u);
    // Test builds start shorter.
    EXPECT_EQ(WaitMs(4, 100, 0, std::nullopt), 800u);

    EXPECT_EQ(WaitMs(1, 1000, 0.5, 2), 2000u);
    // A shorter Retry-After does not shorten the back-off.
    EXPECT_EQ(WaitMs(3, 1000, 0, 2), 4000u);
    EXPECT_EQ(WaitMs(1, 1000, 0, 3600), kLongestRetryAfterMs);
    EXPECT_EQ(WaitMs(1, 1000, 0, UINT32_MAX), kLongestRetryAfterMs);
}

TEST(DownloadRetry, RetryAfterSecondsAreDigitsAlone)
{
    EXPECT_EQ(DeltaSeconds(L"2"), 2u);
    EXPECT_EQ(DeltaSeconds(L"0"), 0u);
    EXPECT_EQ(DeltaSeconds(L"99999999999999999999999"), std::nullopt);
    for (const wchar_t* other : {L"", L"2s", L" 2", L"-1", L"Wed, 21 Oct 2026 07:28:00 GMT"})
        EXPECT_EQ(DeltaSeconds(other), std::nullopt);
}

TEST(DownloadRetry, ResumesOnlyWithByteRangesAndAStrongValidator)
{
    const std::optional<std::wstring> none;
    const std::wstring date = L"Tue, 08 Dec 2026 10:00:00 GMT";
    EXPECT_EQ(ResumeValidator(L"bytes", L"\"v1\"", date), L"\"v1\"");
    EXPECT_EQ(ResumeValidator(L"bytes", none, date), date);
    EXPECT_EQ(ResumeValidator(L"bytes", L"W/\"v1\"", date), date);
    EXPECT_EQ(ResumeValidator(L"bytes", L"W/\"v1\"", none), none);
    EXPECT_EQ(ResumeValidator(L"bytes", none, none), none);
    EXPECT_EQ(ResumeValidator(L"none", L"\"v1\"", date), none);
    EXPECT_EQ(ResumeValidator(none, L"\"v1\"", date), none);
    // A validator that would end the header it is sent in is never sent.
    EXPECT_EQ(ResumeValidator(L"bytes", L"\"v1\"\r\nX-Injected: 1", date), date);
    EXPECT_EQ(ResumeValidator(L"bytes", L"\"v1\"\n", L"Tue\r\n"), none);
}

TEST(DownloadRetry, APartialAnswerMustContinueTheBodyKept)
{
    EXPECT_TRUE(ContinuesBody(L"bytes 20480-56831/56832", 20480, 56832));
    EXPECT_FALSE(ContinuesBody(L"bytes 0-56831/56832", 20480, 56832));
    EXPECT_FALSE(ContinuesBody(L"bytes 20480-56831/60000", 20480, 56832));
    EXPECT_FALSE(ContinuesBody(L"bytes 20480-30000/56832", 20480, 56832));
    EXPECT_FALSE(ContinuesBody(L"bytes 56832-56831/56832", 56832, 56832));  // first after last: nothing
    for (const wchar_t* malformed : {L"", L"bytes 20480-56831/*", L"bytes */56832", L"items 20480-56831/56832",
                                     L"bytes 20480-56831/56832 ", L"bytes -56831/56832"})
        EXPECT_FALSE(ContinuesBody(malformed, 20480, 56832)) << malformed;
}

TEST(DownloadRetry, TheRetryLineSaysWhatFailedTheWaitAndTheNextAttempt)
{
    EXPECT_EQ(RetryLine(20011, 20480, 56832, 2000, 2, 5, true),
              L"Download interrupted after 20480 of 56832 bytes (error 20011); resuming in 2.0 s, attempt 2 of 5");
    EXPECT_EQ(RetryLine(20011, 20480, 0, 1250, 3, 5, false),
              L"Download interrupted after 20480 bytes (error 20011); trying again in 1.2 s, attempt 3 of 5");
    EXPECT_EQ(RetryLine(12029, 0, 0, 8900, 5, 5, false),
              L"Download failed (error 12029); trying again in 8.9 s, attempt 5 of 5");
}

}  // namespace
}  // namespace download_retry
