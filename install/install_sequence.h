// The installation run, step by step, from the first download to the end.
#pragma once

#include <windows.h>

#include <optional>

#include "held_package.h"
#include "installation_host.h"
#include "layout_manifest.h"
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
        : m_host(host), m_plan(std::move(plan)), m_choices(choices)
    {
    }

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

    // The layout steps (layout_run.cpp). Reads the manifest of the layout a
    // run installs from and fills in the packages' files from it.
    std::optional<RunResult> TakeLayout();
    // Makes the layout's folder and reads what it holds already.
    std::optional<RunResult> BeginLayout();
    // Whether the layout holds the package already, as its manifest says.
    bool KeptInLayout(const PlannedPackage& package);
    // Lists a package fetched into the layout.
    void AddToLayout(const PlannedPackage& package, const PackageDownload& download);
    // Writes the layout's manifest.
    RunResult EndLayout();
    RunResult Completed() const;
    RunResult FinishWithFailure(DWORD exitCode);
    RunResult FinishWithCancel();

    InstallationHost& m_host;
    PackagePlan m_plan;
    const RunChoices& m_choices;
    // An installer of this run succeeded and asked for a restart (3010).
    bool m_restartRequired = false;
    // The manifest of the layout being made, and of the one it brings up to date.
    LayoutManifest m_layout;
    std::optional<LayoutManifest> m_previousLayout;
};
