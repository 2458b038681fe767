#pragma once

#include <windows.h>

#include "command_line_options.h"
#include "installation_options.h"
#include "log_file.h"

// The whole installation without any window (/quiet), on the calling
// thread. Returns the process's exit code; log may be null.
DWORD RunQuietly(const CommandLineOptions& options, const InstallationOptions& installation, LogFile* log);
