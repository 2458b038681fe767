// Starting a downloaded package's installer and waiting for it to end.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "held_package.h"
#include "installation_host.h"
#include "installation_options.h"
#include "package_kind.h"

// Runs the installer of the held `package` and waits for it to end: the
// agent's through the system's msiexec, the Patch Management package's by
// its `installCommand`; either is given the package's own full path. Unattended, it first waits while another installation
// runs, and starts again when the installer answers 1618, within the budget
// of other_installation.h. What happens is noted to the host. Returns the
// installer's exit code, or the system error of a launch that failed
// (exit_codes::kProgramRefused for a refused command); nothing when the user
// cancelled while it waited for another installation.
std::optional<DWORD> RunInstaller(InstallationHost& host, const InstallationOptions& options, PackageKind kind,
                                  const HeldPackage& package, const std::wstring& installCommand);
