// The narrow view a package download has of whoever runs it.
#pragma once

#include <windows.h>

#include <string>

#include "download_outcome.h"

// Whoever shows a package download: what it reports as it goes. Every call
// comes from the thread that runs the download.
class DownloadReport {
public:
    virtual ~DownloadReport() = default;

    virtual void UpdateProgress(LONGLONG received, LONGLONG total) = 0;
    // What only a log file records: URLs, HTTP answers, error numbers,
    // durations.
    virtual void Note(const std::wstring& line) = 0;
    // A line of the details log: a retry's wait.
    virtual void Detail(const std::wstring& line) = 0;
    // The package is moved into place: from here on the download cannot be
    // cancelled.
    virtual void PackageInPlace() = 0;
    // How the download ended; said once, as its last report.
    virtual void Ended(DownloadOutcome outcome) = 0;
};
