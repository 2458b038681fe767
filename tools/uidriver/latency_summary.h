#pragma once

#include <chrono>
#include <vector>

namespace uidriver {

struct LatencySummary {
    std::chrono::microseconds median;
    std::chrono::microseconds percentile99;
};

// Nearest-rank percentiles of a non-empty set of samples.
LatencySummary Summarize(std::vector<std::chrono::microseconds> samples);

}  // namespace uidriver
