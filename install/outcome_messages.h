// The status and log texts of each step's outcome.
#pragma once

#include <string>

#include "download_outcome.h"
#include "package_kind.h"

// A step's report: the status line (no line end) and the log line (with it).
struct OutcomeMessage {
    const wchar_t* status;
    std::wstring log;
};

OutcomeMessage DownloadMessage(PackageKind kind, DownloadOutcome outcome);

// The installer's exit code in three classes: 0 finished, 1602 cancelled by
// the user, anything else an error shown with the code as a signed number.
OutcomeMessage InstallerMessage(PackageKind kind, unsigned long exitCode);
