#include "ansi_text.h"
#include "download_text.h"
#include "installation_files.h"

void InstallationFiles::DerivePatchInstallerFile()
{
    if (const auto file = PatchInstallerFileFromCommand(m_strPatchInstallCommand.str()))
        m_strPatchInstallerFile = ThroughThreadAnsi(*file);
}
