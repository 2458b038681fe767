// What an installation run reports to whoever shows it.
#pragma once

#include <windows.h>

#include <string>

#include "run_result.h"

// Whoever shows an installation run: the dialog, or nothing at all in the
// windowless mode, with a log file's host between them when there is one.
// The run reports each step and learns from it whether the user asked to
// cancel; it asks nothing else (its choices were made before it started).
// Every call comes from the thread that runs the installation.
class InstallationHost {
public:
    virtual ~InstallationHost() = default;

    // A step began or ended: the status line.
    virtual void ShowStatus(const std::wstring& text) = 0;
    // A line of the details log, without a line end.
    virtual void AddDetail(const std::wstring& line) = 0;
    // The package download's bytes so far, of its total (0 or less unknown).
    virtual void ShowProgress(LONGLONG bytesDone, LONGLONG bytesTotal) = 0;
    // What only a log file records: URLs, HTTP answers, error numbers,
    // command lines, durations.
    virtual void Note(const std::wstring& line) = 0;
    // Whether the user may cancel now.
    virtual void AllowCancel(bool allowed) = 0;
    // The run's last call: nothing of the host is touched after it. A run
    // that failed or was cancelled no longer allows Cancel.
    virtual void RunEnded(const RunResult& result) = 0;

    // Signalled when the user asks to cancel. Auto-reset: a wait that sees
    // the request consumes it.
    virtual HANDLE CancelEvent() = 0;
};
