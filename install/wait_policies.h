// Every wait between a run's attempts, in one place.
#pragma once

#include <cstdint>

#include "build_config.h"
#include "retry_policy.h"

// The numbers in the comments are the shipped program's; test builds set
// shorter first waits and budgets (build_config.h).

// A package download where failures that pass are tried again: five
// attempts, after 1, 2, 4 and 8 s, each up to a quarter longer, or the
// host's longer Retry-After.
inline constexpr RetryPolicy kPackageDownloadRetries{5, kRetryFirstWaitMs, UINT32_MAX, true};
// A package download a person watches: one attempt.
inline constexpr RetryPolicy kPackageDownloadOnce{1, 0, 0, false};

// The web service exchange: three attempts, after pauses of 1 and 2 s...
inline constexpr RetryPolicy kServiceRetries{3, 1000, UINT32_MAX, false};
// ...or, where a person watches, at once.
inline constexpr RetryPolicy kServiceRetriesAtOnce{3, 0, 0, false};

// An installer while another installation runs: waits from 5 s, doubling up
// to a minute, all within kOtherInstallationBudgetMs (ten minutes) from the
// first look.
inline constexpr RetryPolicy kOtherInstallationWaits{0, kOtherInstallationFirstWaitMs, kOtherInstallationLongestWaitMs,
                                                     false};
