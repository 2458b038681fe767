// The run's own log: its first line, and where a command line that is not
// understood is explained.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "command_line_options.h"
#include "log_file.h"
#include "unattended_defaults.h"

// Writes the log's first line, with the program and its arguments as parsed
// (never the raw command line); from then on no line shows the setup token
// or `proxyPassword`.
void StartLog(LogFile& log, const std::optional<std::wstring>& proxyPassword);

// Explains a command line that asks for the usage (/?) or is not understood,
// and returns the exit code. In a window only where somebody can see one:
// with /quiet, or where no desktop is visible (a deployment tool's session
// 0), nothing waits for a click, and the reason goes to the log (/log's,
// else the default one).
DWORD ReportUsage(const ParsedCommandLine& parsed, const DesktopQueries& desktop = {});
