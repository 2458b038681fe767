// How an installation run ended.
#pragma once

#include <windows.h>

// How an installation run ended, in the two forms its callers read: the
// worker thread's result, and the process exit code of the unattended modes
// (see exit_codes.h).
struct RunResult {
    static constexpr UINT kCompleted = 1;
    static constexpr UINT kFailed = 0;
    static constexpr UINT kCancelled = 0xFFFFFFFF;

    UINT threadResult = kFailed;
    DWORD exitCode = 0;
};
