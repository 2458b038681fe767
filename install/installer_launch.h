// Starting a downloaded package's installer and waiting for it to end.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "held_package.h"
#include "installation_host.h"
#include "package_plan.h"
#include "run_choices.h"

// Runs the installer of `package`, held as `held`, and waits for it to end:
// through the system's msiexec or by its install command, as the plan
// says; either is given the package's own full path. Unattended, it first
// waits while another installation runs, and starts again when the
// installer answers 1618, as kOtherInstallationWaits allows. What happens is noted to the host. Returns the
// installer's exit code, or the system error of a launch that failed
// (exit_codes::kProgramRefused for a refused command); nothing when the user
// cancelled while it waited for another installation.
std::optional<DWORD> RunInstaller(InstallationHost& host, const RunChoices& choices, const PlannedPackage& package,
                                  const HeldPackage& held);
