#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace gui_test {

// Points the system's proxy setting (the current user's Internet Settings:
// ProxyEnable and ProxyServer), which every INTERNET_OPEN_TYPE_PRECONFIG
// session of the prefix takes, at this proxy while the object lives; the
// values found before are put back after.
class SystemProxySetting {
public:
    explicit SystemProxySetting(const std::wstring& proxyServer);
    ~SystemProxySetting();
    SystemProxySetting(const SystemProxySetting&) = delete;
    SystemProxySetting& operator=(const SystemProxySetting&) = delete;

private:
    void Restore();

    HKEY key_ = nullptr;
    std::optional<DWORD> enabledBefore_;
    std::optional<std::wstring> serverBefore_;
};

}  // namespace gui_test
