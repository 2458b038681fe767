// Naming the Patch Management package's local file from its install command.
#include "package_file_name.h"

#include <cwchar>
#include <cwctype>

std::optional<std::wstring> PatchInstallerFileFromCommand(const std::wstring& command)
{
    static const std::wstring kExtension = L".msi";
    const size_t extension = command.find(kExtension);
    if (extension == std::wstring::npos)
        return std::nullopt;
    const std::wstring prefix = command.substr(0, extension + kExtension.size());
    const size_t space = prefix.rfind(L' ');
    if (space == std::wstring::npos)
        return std::nullopt;
    return prefix.substr(space + 1);
}

bool IsPlainFileName(const std::wstring& name)
{
    if (name.empty() || name.back() == L'.' || name.back() == L' ')
        return false;
    for (const wchar_t c : name) {
        if (c < 32 || std::wcschr(L"\\/:*?\"<>|", c))
            return false;
    }
    // The device names count with anything after a dot, and with spaces
    // before it; Windows also reads superscript digits as the port numbers.
    std::wstring base = name.substr(0, name.find(L'.'));
    base.erase(base.find_last_not_of(L' ') + 1);
    for (wchar_t& c : base)
        c = static_cast<wchar_t>(std::towupper(c));
    static const wchar_t* const kDevices[] = {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"};
    for (const wchar_t* device : kDevices) {
        if (base == device)
            return false;
    }
    const bool port = base.size() == 4 && (base.compare(0, 3, L"COM") == 0 || base.compare(0, 3, L"LPT") == 0);
    return !(port && ((base[3] >= L'1' && base[3] <= L'9') || std::wcschr(L"\u00B9\u00B2\u00B3", base[3])));
}
