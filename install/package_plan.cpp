// The run's packages, planned once from its choices.
#include "package_plan.h"

#include "afxwin.h"
#include "ansi_text.h"
#include "build_config.h"
#include "installer_names.h"
#include "package_file_name.h"
#include "system_directory.h"
#include "windows_bitness.h"

RunPlace ThisRunPlace()
{
    return {RunningOn64BitWindows(), FullPath(L"."), AfxGetExeBaseName().str()};
}

namespace {

// The agent package for 64- or 32-bit Windows, named `file`.
PlannedPackage AgentPackage(bool windows64Bit, const std::wstring& folder, const std::wstring& file,
                            const RunChoices& choices)
{
    PlannedPackage agent;
    agent.kind = PackageKind::Agent;
    agent.role = windows64Bit ? L"agent-x64" : L"agent-x86";
    // Made as the thread's ANSI code page lets it be written: that one name
    // then serves every operation on the package.
    agent.location = {folder, ThroughThreadAnsi(file)};
    agent.url = std::wstring(L"https://") + kDownloadHost +
                (windows64Bit ? L"/vta/vta-agent-x64.msi" : L"/vta/vta-agent-x86.msi");
    agent.proxy = choices.agentProxy;
    agent.start = InstallerStart::SystemMsiexec;
    agent.installerLog = choices.agentInstallerLog;
    agent.cancellableAfterInstall = true;
    return agent;
}

}  // namespace

PackagePlan PlanPackages(const RunChoices& choices, const RunPlace& place)
{
    const InstallerNames names = DeriveInstallerNames(place.programName, place.windows64Bit);
    const bool layout = !choices.layoutFolder.empty();
    PackagePlan plan;
    plan.setupToken = names.setupToken;
    plan.layoutFolder = choices.layoutFolder;
    plan.sourceFolder = choices.sourceFolder;
    const std::wstring& folder = layout ? choices.layoutFolder : place.workingFolder;

    if (layout) {
        // Under the names the download host gives them, for any program name.
        for (const bool windows64Bit : {true, false})
            plan.packages.push_back(
                AgentPackage(windows64Bit, folder, DeriveInstallerNames(L"", windows64Bit).agentInstallerFile, choices));
    } else {
        plan.packages.push_back(AgentPackage(place.windows64Bit, folder, names.agentInstallerFile, choices));
    }

    if (choices.patchManagement && (!layout || !names.setupToken.empty())) {
        PlannedPackage patchManagement;
        patchManagement.kind = PackageKind::PatchManagement;
        patchManagement.role = L"patch-management";
        patchManagement.location.folder = folder;
        // From a layout, its manifest has the details.
        patchManagement.detailsFromService = choices.sourceFolder.empty();
        patchManagement.proxy = choices.proxy;
        patchManagement.start = InstallerStart::InstallCommand;
        plan.packages.push_back(patchManagement);
    }
    for (PlannedPackage& package : plan.packages)
        package.install = !layout;
    return plan;
}

// The file's name is checked as the file system gets it, after the thread's
// ANSI code page: a character with a look-alike there (a fullwidth
// backslash) could otherwise become a separator. Any name but a plain one
// stays empty, which fails the download before anything is written.
void TakeDownloadDetails(PlannedPackage& package, const std::wstring& url, const std::wstring& installCommand)
{
    package.url = url;
    package.installCommand = installCommand;
    package.location.name.clear();
    if (const auto file = PatchInstallerFileFromCommand(installCommand)) {
        const std::wstring name = ThroughThreadAnsi(*file);
        if (IsPlainFileName(name))
            package.location.name = name;
    }
}
