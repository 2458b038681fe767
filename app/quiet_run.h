#pragma once

#include <windows.h>

#include "log_file.h"
#include "run_choices.h"

// The whole installation without any window (/quiet), on the calling
// thread. Returns the process's exit code; log may be null.
DWORD RunQuietly(const RunChoices& choices, LogFile* log);
