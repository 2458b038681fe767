#include "wine_dll_override.h"

#include <windows.h>

#include <stdexcept>

namespace gui_test {

namespace {

constexpr wchar_t kEveryProgramsOverrides[] = L"Software\\Wine\\DllOverrides";

}  // namespace

WineNativeDllFirst::WineNativeDllFirst(const std::wstring& executableName, std::initializer_list<const wchar_t*> dlls)
    : appKey_(executableName.empty() ? L"" : L"Software\\Wine\\AppDefaults\\" + executableName),
      dlls_(dlls.begin(), dlls.end())
{
    HKEY key = nullptr;
    const std::wstring overrides = appKey_.empty() ? kEveryProgramsOverrides : appKey_ + L"\\DllOverrides";
    LONG status = RegCreateKeyExW(HKEY_CURRENT_USER, overrides.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                                  nullptr);
    if (status == ERROR_SUCCESS) {
        const wchar_t order[] = L"native,builtin";
        for (const std::wstring& dll : dlls_) {
            if (status == ERROR_SUCCESS)
                status = RegSetValueExW(key, dll.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(order),
                                        sizeof(order));
        }
        RegCloseKey(key);
    }
    if (status != ERROR_SUCCESS)
        throw std::runtime_error("cannot set Wine's DLL override, error " + std::to_string(status));
}

WineNativeDllFirst::~WineNativeDllFirst()
{
    if (!appKey_.empty()) {
        RegDeleteTreeW(HKEY_CURRENT_USER, appKey_.c_str());
        return;
    }
    // Every program's overrides hold others too: only ours go.
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kEveryProgramsOverrides, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return;
    for (const std::wstring& dll : dlls_)
        RegDeleteValueW(key, dll.c_str());
    RegCloseKey(key);
}

}  // namespace gui_test
