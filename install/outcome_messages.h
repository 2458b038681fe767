// The status and details texts of each package's steps, keyed by its kind.
#pragma once

#include <string>

#include "download_outcome.h"
#include "package_kind.h"

// A step's report: the status line and the details-log line, neither with a
// line end, shown in that order unless the line comes first.
struct OutcomeMessage {
    std::wstring status;
    std::wstring line;
    bool lineFirst = false;
};

// The package's download begins.
OutcomeMessage DownloadBeganMessage(PackageKind kind);

OutcomeMessage DownloadMessage(PackageKind kind, DownloadOutcome outcome);

// The installer's exit code in three classes: 0 finished, 1602 cancelled by
// the user, anything else an error shown with the code as a signed number.
OutcomeMessage InstallerMessage(PackageKind kind, unsigned long exitCode);

// A layout's package, fetched into its folder as `file`.
OutcomeMessage LayoutFileMessage(const std::wstring& file);
