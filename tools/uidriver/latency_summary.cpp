#include "latency_summary.h"

#include <algorithm>
#include <cmath>

namespace uidriver {

namespace {

std::chrono::microseconds NearestRank(const std::vector<std::chrono::microseconds>& sorted, double fraction)
{
    const auto rank = static_cast<size_t>(std::ceil(fraction * static_cast<double>(sorted.size())));
    return sorted[std::max<size_t>(rank, 1) - 1];
}

}  // namespace

LatencySummary Summarize(std::vector<std::chrono::microseconds> samples)
{
    std::sort(samples.begin(), samples.end());
    return {NearestRank(samples, 0.5), NearestRank(samples, 0.99)};
}

}  // namespace uidriver
