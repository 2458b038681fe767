#include "wine_dll_override.h"

#include <windows.h>

#include <stdexcept>

namespace gui_test {

WineNativeDllFirst::WineNativeDllFirst(const std::wstring& executableName, std::initializer_list<const wchar_t*> dlls)
    : appKey_(L"Software\\Wine\\AppDefaults\\" + executableName)
{
    HKEY key = nullptr;
    const std::wstring overrides = appKey_ + L"\\DllOverrides";
    LONG status = RegCreateKeyExW(HKEY_CURRENT_USER, overrides.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                                  nullptr);
    if (status == ERROR_SUCCESS) {
        const wchar_t order[] = L"native,builtin";
        for (const wchar_t* dll : dlls) {
            if (status == ERROR_SUCCESS)
                status = RegSetValueExW(key, dll, 0, REG_SZ, reinterpret_cast<const BYTE*>(order), sizeof(order));
        }
        RegCloseKey(key);
    }
    if (status != ERROR_SUCCESS)
        throw std::runtime_error("cannot set Wine's DLL override, error " + std::to_string(status));
}

WineNativeDllFirst::~WineNativeDllFirst()
{
    RegDeleteTreeW(HKEY_CURRENT_USER, appKey_.c_str());
}

}  // namespace gui_test
