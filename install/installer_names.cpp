#include "installer_names.h"

namespace {

// The name without a trailing copy marker: a space, then a decimal number in
// parentheses, as browsers add to a second download of the same file.
std::wstring WithoutCopyMarker(const std::wstring& name)
{
    if (name.size() < 4 || name.back() != L')')
        return name;
    const size_t opening = name.rfind(L" (");
    if (opening == std::wstring::npos)
        return name;
    const size_t digits = opening + 2;
    const size_t closing = name.size() - 1;
    if (digits == closing)
        return name;
    for (size_t i = digits; i < closing; ++i) {
        if (name[i] < L'0' || name[i] > L'9')
            return name;
    }
    return name.substr(0, opening);
}

}  // namespace

InstallerNames DeriveInstallerNames(const std::wstring& executableBaseName, bool windows64Bit)
{
    const std::wstring exeBaseName = WithoutCopyMarker(executableBaseName);
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
