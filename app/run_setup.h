#pragma once

#include "command_line_options.h"
#include "installation_host.h"
#include "log_file.h"
#include "package_plan.h"
#include "run_choices.h"
#include "run_result.h"

// The run's choices in the mode the command line asks for, running only
// packages signed by `packageSigners` when there are any. The unattended
// modes start Windows Installer themselves, bound every network wait, and
// have msiexec log the agent's installation beside the run's own log. The
// dialog completes them with its ticks and proxy fields when OK starts it.
RunChoices RunChoicesFor(const CommandLineOptions& options, const std::vector<Sha256Digest>& packageSigners);

// Runs the installation of `plan` against `host`; the log file, when there
// is one, sees every event on the way.
RunResult RunInstallation(InstallationHost& host, const PackagePlan& plan, const RunChoices& choices, LogFile* log);
