// A host's Retry-After, as any text: only delta-seconds count, read as
// their value, and no wait goes beyond its cap.
#include <cstddef>
#include <cstdint>
#include <string>

#include "download_retry.h"
#include "retry_policy.h"
#include "fuzz_invariant.h"
#include "utf16_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::wstring text = Utf16Text(data, size);
    const std::optional<uint32_t> seconds = download_retry::DeltaSeconds(text);
    const bool digits = !text.empty() && text.find_first_not_of(L"0123456789") == std::wstring::npos;
    Require(!seconds || digits, "delta-seconds are digits only");
    Require(seconds || !digits || text.size() >= 20, "and every 64-bit run of digits is some");
    if (seconds && text.size() <= 9)
        Require(*seconds == std::stoul(std::string(text.begin(), text.end())), "read as their value");
    const RetryPolicy packageDownload{5, 1000, UINT32_MAX, true};
    for (int attempt = 1; attempt < packageDownload.attempts; ++attempt)
        Require(RetryWaitMs(packageDownload, attempt, 1.0, seconds) <= kLongestRetryAfterMs,
                "no wait is longer than the cap");
    return 0;
}
