// The system directory and full paths, asked of the system.
#include "system_directory.h"

#include <windows.h>

#include <vector>

std::wstring InSystemDirectory(const std::wstring& name)
{
    std::vector<wchar_t> directory(MAX_PATH);
    UINT length = ::GetSystemDirectoryW(directory.data(), static_cast<UINT>(directory.size()));
    if (length >= directory.size()) {
        directory.resize(length);
        length = ::GetSystemDirectoryW(directory.data(), static_cast<UINT>(directory.size()));
    }
    return std::wstring(directory.data(), length) + L"\\" + name;
}

std::wstring FullPath(const std::wstring& path)
{
    const DWORD length = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (length == 0)
        return path;
    std::vector<wchar_t> full(length);
    const DWORD written = ::GetFullPathNameW(path.c_str(), length, full.data(), nullptr);
    return written == 0 || written >= length ? path : std::wstring(full.data(), written);
}
