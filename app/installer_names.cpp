#include "installer_names.h"

InstallerNames DeriveInstallerNames(const std::wstring& exeBaseName, bool windows64Bit)
{
    InstallerNames names;
    std::wstring suffix;
    const size_t underscore = exeBaseName.rfind(L'_');
    if (underscore != std::wstring::npos) {
        suffix = exeBaseName.substr(underscore);
        if (suffix.size() >= 3 && suffix[1] == L's')
            names.setupToken = suffix.substr(2);
    }
    names.agentInstallerFile = (windows64Bit ? L"vta-agent-x64" : L"vta-agent-x86") + suffix + L".msi";
    return names;
}
