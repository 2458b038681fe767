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

PackagePlan PlanPackages(const RunChoices& choices, const RunPlace& place)
{
    const InstallerNames names = DeriveInstallerNames(place.programName, place.windows64Bit);
    PackagePlan plan;
    plan.setupToken = names.setupToken;

    PlannedPackage agent;
    agent.kind = PackageKind::Agent;
    // Made as the thread's ANSI code page lets it be written: that one name
    // then serves every operation on the package.
    agent.location = {place.workingFolder, ThroughThreadAnsi(names.agentInstallerFile)};
    agent.url = std::wstring(L"https://") + kDownloadHost +
                (place.windows64Bit ? L"/vta/vta-agent-x64.msi" : L"/vta/vta-agent-x86.msi");
    agent.proxy = choices.agentProxy;
    agent.start = InstallerStart::SystemMsiexec;
    agent.installerLog = choices.agentInstallerLog;
    agent.cancellableAfterInstall = true;
    plan.packages.push_back(agent);

    if (choices.patchManagement) {
        PlannedPackage patchManagement;
        patchManagement.kind = PackageKind::PatchManagement;
        patchManagement.location.folder = place.workingFolder;
        patchManagement.detailsFromService = true;
        patchManagement.proxy = choices.proxy;
        patchManagement.start = InstallerStart::InstallCommand;
        plan.packages.push_back(patchManagement);
    }
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
