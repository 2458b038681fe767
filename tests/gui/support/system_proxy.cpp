#include "system_proxy.h"

#include <stdexcept>

namespace gui_test {
namespace {

constexpr wchar_t kInternetSettings[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
constexpr wchar_t kEnable[] = L"ProxyEnable";
constexpr wchar_t kServer[] = L"ProxyServer";

std::optional<DWORD> ReadDword(HKEY key, const wchar_t* name)
{
    DWORD value = 0;
    DWORD size = sizeof(value);
    DWORD type = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
        type != REG_DWORD)
        return std::nullopt;
    return value;
}

std::optional<std::wstring> ReadString(HKEY key, const wchar_t* name)
{
    wchar_t value[1024] = {};
    DWORD size = sizeof(value) - sizeof(wchar_t);
    DWORD type = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return std::nullopt;
    return std::wstring(value);
}

LONG WriteDword(HKEY key, const wchar_t* name, DWORD value)
{
    return RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
}

LONG WriteString(HKEY key, const wchar_t* name, const std::wstring& value)
{
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

}  // namespace

SystemProxySetting::SystemProxySetting(const std::wstring& proxyServer)
{
    LONG status = RegCreateKeyExW(HKEY_CURRENT_USER, kInternetSettings, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                                  nullptr, &key_, nullptr);
    if (status == ERROR_SUCCESS) {
        enabledBefore_ = ReadDword(key_, kEnable);
        serverBefore_ = ReadString(key_, kServer);
        status = WriteString(key_, kServer, proxyServer);
    }
    if (status == ERROR_SUCCESS)
        status = WriteDword(key_, kEnable, 1);
    if (status != ERROR_SUCCESS) {
        Restore();
        throw std::runtime_error("cannot set the system proxy, error " + std::to_string(status));
    }
}

SystemProxySetting::~SystemProxySetting()
{
    Restore();
}

void SystemProxySetting::Restore()
{
    if (!key_)
        return;
    if (enabledBefore_)
        WriteDword(key_, kEnable, *enabledBefore_);
    else
        RegDeleteValueW(key_, kEnable);
    if (serverBefore_)
        WriteString(key_, kServer, *serverBefore_);
    else
        RegDeleteValueW(key_, kServer);
    RegCloseKey(key_);
    key_ = nullptr;
}

}  // namespace gui_test
