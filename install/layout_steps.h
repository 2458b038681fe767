// The run's layout steps: installing from a layout's manifest, and making
// a layout.
#pragma once

#include <windows.h>

#include <optional>

#include "installation_host.h"
#include "layout_manifest.h"
#include "package_download.h"
#include "package_plan.h"

// The steps a run takes for a layout, reported to its host: reading the
// manifest of the layout it installs from; or making its folder, keeping
// what it holds already, listing what was fetched and writing its manifest.
// A step that ends the run gives its exit code.
class LayoutSteps {
public:
    LayoutSteps(InstallationHost& host, PackagePlan& plan) : m_host(host), m_plan(plan) {}

    // Fills in the packages' files, and the install command, from the
    // manifest of the layout the run installs from.
    std::optional<DWORD> Take();
    // Makes the layout's folder and reads what it holds already.
    std::optional<DWORD> Begin();
    // Whether the layout holds the package already, as its manifest says.
    bool Kept(const PlannedPackage& package);
    // Lists a package fetched into the layout, and writes the manifest.
    std::optional<DWORD> Add(const PlannedPackage& package, const PackageDownload& download);
    // Writes the manifest once more, with the last install command.
    std::optional<DWORD> End();

private:
    std::optional<DWORD> Write();

    InstallationHost& m_host;
    PackagePlan& m_plan;
    // The manifest of the layout being made: at first what the folder's
    // manifest listed.
    LayoutManifest m_layout;
};
