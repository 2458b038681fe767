#pragma once

#include "command_line_options.h"
#include "installation_files.h"
#include "installation_host.h"
#include "installation_options.h"
#include "log_file.h"
#include "run_result.h"

// The installer names and the setup token from the executable's own file
// name and the bitness of Windows. The agent's file name is made as the
// thread's ANSI code page lets it be written: that one name then serves
// every operation on the package.
void DetermineInstallerNames(InstallationFiles& files);

// How a run installs in the mode the command line asks for, running only
// packages signed by `packageSigners` when there are any. The unattended
// modes start Windows Installer themselves, bound every network wait, and
// have msiexec log the agent's installation beside the run's own log.
InstallationOptions InstallationOptionsFor(const CommandLineOptions& options,
                                           const std::vector<Sha256Digest>& packageSigners);

// Runs the installation against `host`; the log file, when there is one,
// sees every event on the way.
RunResult RunInstallation(InstallationHost& host, InstallationFiles& files, const InstallationOptions& options,
                          LogFile* log);
