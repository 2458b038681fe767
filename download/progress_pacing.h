// How often a download reports its progress.
#pragma once

#include <cstdint>

// How often a download reports its progress. Each report is a round trip to
// the dialog's thread; reporting every chunk would let the dialog pace the
// download. Times are milliseconds of a monotonic clock.
class ProgressPacing {
public:
    static constexpr uint64_t kReportIntervalMs = 100;

    // The first report is made at once, later ones at most every interval.
    bool ShouldReport(uint64_t nowMs)
    {
        if (m_reported && nowMs - m_lastReportMs < kReportIntervalMs)
            return false;
        m_reported = true;
        m_lastReportMs = nowMs;
        return true;
    }

private:
    uint64_t m_lastReportMs = 0;
    bool m_reported = false;
};
