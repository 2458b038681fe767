// How long a step that failed waits before it is tried again.
#pragma once

#include <cstdint>
#include <optional>

// The attempts a step gets and the waits between them: the first wait, then
// each twice the one before, up to the longest; lengthened by up to a quarter
// where jittered, so that many machines cut at once do not come back at once.
// Which policy each step follows is the run's to say (wait_policies.h).
struct RetryPolicy {
    // In all, the first one included; 0 when only a time budget ends them.
    int attempts;
    uint32_t firstWaitMs;
    uint32_t longestWaitMs;
    bool jittered;
};

// The longest wait a host's Retry-After may ask for.
constexpr uint32_t kLongestRetryAfterMs = 120 * 1000;

// The wait after failed attempt `failedAttempt` (from 1), with `jitter`
// (0 to 1) where the policy is jittered. A host's Retry-After, in seconds,
// is obeyed instead when it asks for longer, up to kLongestRetryAfterMs.
uint32_t RetryWaitMs(const RetryPolicy& policy, int failedAttempt, double jitter,
                     std::optional<uint32_t> retryAfterSeconds = std::nullopt);

