// The installation run, step by step, from the first download to the end.
#pragma once

#include <windows.h>

#include <optional>

#include "held_package.h"
#include "installation_host.h"
#include "layout_steps.h"
#include "package_plan.h"
#include "package_transfer.h"
#include "run_choices.h"
#include "run_result.h"

// The installation run: the plan's packages in order, each downloaded (or
// copied from a layout) and installed, a package the web service names
// after asking it for its details; or, for a layout, each fetched into its
// folder and listed in its manifest. Every step reports to the host as it
// goes, and the run ends with the host's RunEnded.
class InstallSequence {
public:
    InstallSequence(InstallationHost& host, PackagePlan plan, const RunChoices& choices)
        : m_host(host), m_plan(std::move(plan)), m_choices(choices), m_layout(host, m_plan)
    {
    }
    // m_layout refers to this object's own plan.
    InstallSequence(const InstallSequence&) = delete;
    InstallSequence& operator=(const InstallSequence&) = delete;

    RunResult Run();

    // Holds a downloaded package from its move into place to its installer's
    // end. Tests put a step before it, as another process could.
    HoldPackageFunction m_pfnHoldPackage = &HeldPackage::Open;

private:
    RunResult RunSteps();
    // Asks the web service for the package's URL and install command; the
    // run's result when it must end there.
    std::optional<RunResult> RetrieveDownloadDetails(PlannedPackage& package);
    // Downloads and runs one package; the run's result when it must end there.
    std::optional<RunResult> InstallPackage(const PlannedPackage& package);
    RunResult Completed() const;
    RunResult FinishWithFailure(DWORD exitCode);
    RunResult FinishWithCancel();

    InstallationHost& m_host;
    PackagePlan m_plan;
    const RunChoices& m_choices;
    // An installer of this run succeeded and asked for a restart (3010).
    bool m_restartRequired = false;
    // After m_plan, which it reads and fills in.
    LayoutSteps m_layout;
};
