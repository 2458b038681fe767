#include "download_text.h"
#include "vta_agent_download_managerDlg.h"

void Cvta_agent_download_managerDlg::DerivePatchInstallerFile()
{
    if (const auto file = PatchInstallerFileFromCommand(m_strPatchInstallCommand.str()))
        m_strPatchInstallerFile = *file;
}
