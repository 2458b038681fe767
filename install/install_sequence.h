// The installation run, step by step, from the agent's download to the end.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "held_package.h"
#include "installation_files.h"
#include "installation_host.h"
#include "installation_options.h"
#include "package_kind.h"
#include "package_transfer.h"
#include "run_result.h"

// The installation run: download and install the agent, then, when Patch
// Management is selected, fetch its download details, download and install
// it. Every step reports to the host as it goes, and the run ends with the
// host's RunEnded.
class InstallSequence {
public:
    InstallSequence(InstallationHost& host, InstallationFiles& files, const InstallationOptions& options)
        : m_host(host), m_files(files), m_options(options)
    {
    }

    RunResult Run();

    // Holds a downloaded package from its move into place to its installer's
    // end. Tests put a step before it, as another process could.
    HoldPackageFunction m_pfnHoldPackage = &HeldPackage::Open;

private:
    RunResult RunSteps();
    // Downloads and runs one package; the run's result when it must end there.
    std::optional<RunResult> InstallPackage(PackageKind kind);
    // What the package's download asks of the network.
    TransferRequest PackageRequest(PackageKind kind);
    RunResult Completed();
    RunResult FinishWithFailure(DWORD exitCode);
    RunResult FinishWithCancel();


    InstallationHost& m_host;
    InstallationFiles& m_files;
    const InstallationOptions& m_options;
    // An installer of this run succeeded and asked for a restart (3010).
    bool m_restartRequired = false;
};
