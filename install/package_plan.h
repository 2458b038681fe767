// The run's packages as data: what each is, where it comes from and lives,
// how its installer starts.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "package_download.h"
#include "package_kind.h"
#include "package_location.h"
#include "proxy_setting.h"
#include "run_choices.h"

// How a package's installer is started.
enum class InstallerStart {
    // The system's msiexec installs the package (/i), with the interface and
    // log of the run's choices.
    SystemMsiexec,
    // The install command the web service sent, windowless.
    InstallCommand,
};

// One package of the run.
struct PlannedPackage {
    PackageKind kind;
    // Its name in a layout's manifest: "agent-x64", "agent-x86",
    // "patch-management".
    std::wstring role;
    PackageLocation location;
    // Where it is downloaded from; empty until the service names it.
    std::wstring url;
    // The web service names its URL, install command and file: the run asks
    // for them before its download. Such a URL is fetched over TLS only.
    bool detailsFromService = false;
    // The proxy its download goes through; nothing: the system's settings.
    std::optional<ProxySetting> proxy;
    InstallerStart start = InstallerStart::SystemMsiexec;
    // For InstallCommand: the command as the service sent it.
    std::wstring installCommand;
    // For SystemMsiexec: where msiexec writes its verbose log; empty for none.
    std::wstring installerLog;
    // Cancel is offered again once its installer has ended: the run goes on
    // to ask the web service, which Cancel may stop.
    bool cancellableAfterInstall = false;
    // Installed once in place; a layout's packages are only fetched.
    bool install = true;
    // Copied from a layout instead of downloaded, when it names a file.
    PackageSource source;
};

// What a plan takes from the machine and the program, asked once per run.
struct RunPlace {
    bool windows64Bit;
    // The working folder, as a full path.
    std::wstring workingFolder;
    // The executable's base name, which carries the setup token.
    std::wstring programName;
};
RunPlace ThisRunPlace();

// The packages of a run, in the order they are installed; each takes an
// equal share of the total bar.
struct PackagePlan {
    std::vector<PlannedPackage> packages;
    // What the web service is asked about; from the executable's name.
    std::wstring setupToken;
    // /layout: where the packages are fetched to, with their manifest.
    std::wstring layoutFolder;
    // /source: the layout whose manifest names the packages' files.
    std::wstring sourceFolder;
};

// A run that installs plans the agent for this Windows and, when ticked,
// Patch Management; a layout plans the agent for both bitnesses and Patch
// Management when ticked and the program's name carries a setup token.
PackagePlan PlanPackages(const RunChoices& choices, const RunPlace& place);

// Fills in what the web service sent for `package`: its URL, its install
// command, and its file, named after that command.
void TakeDownloadDetails(PlannedPackage& package, const std::wstring& url, const std::wstring& installCommand);
