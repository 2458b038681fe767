#pragma once

#include <cstdint>

// How often a download looks at the cancel request and reports progress.
// Each look or report is a round trip to the dialog's thread; doing it for
// every 1024-byte chunk would let the dialog pace the download. Times are
// milliseconds of a monotonic clock.
class DownloadPacing {
public:
    static constexpr uint64_t kCancelPollIntervalMs = 20;
    static constexpr uint64_t kReportIntervalMs = 100;

    explicit DownloadPacing(uint64_t startMs) : m_lastPollMs(startMs) {}

    bool ShouldPollCancel(uint64_t nowMs)
    {
        if (nowMs - m_lastPollMs < kCancelPollIntervalMs)
            return false;
        m_lastPollMs = nowMs;
        return true;
    }

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
    uint64_t m_lastPollMs;
    uint64_t m_lastReportMs = 0;
    bool m_reported = false;
};
