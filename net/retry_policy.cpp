// The waits between attempts.
#include "retry_policy.h"

#include <algorithm>

uint32_t RetryWaitMs(const RetryPolicy& policy, int failedAttempt, double jitter,
                     std::optional<uint32_t> retryAfterSeconds)
{
    uint64_t base = policy.firstWaitMs;
    for (int doubled = 1; doubled < failedAttempt && base < policy.longestWaitMs; ++doubled)
        base *= 2;
    base = std::min<uint64_t>(base, policy.longestWaitMs);
    const auto backOff = static_cast<uint32_t>(policy.jittered ? base + base / 4 * jitter : base);
    if (!retryAfterSeconds)
        return backOff;
    const uint64_t asked = static_cast<uint64_t>(*retryAfterSeconds) * 1000;
    return asked > backOff ? static_cast<uint32_t>(std::min<uint64_t>(asked, kLongestRetryAfterMs)) : backOff;
}

