// A WinINet session through a chosen proxy, and answering its challenge.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <optional>
#include <string>

// What a proxy that asks for credentials (407) is given.
struct ProxyCredentials {
    std::wstring user;
    std::wstring password;
};

// A proxy ("host:port") to go through, with its credentials.
struct ProxySetting {
    std::wstring address;
    ProxyCredentials credentials;
};

// The proxy's address; nothing for the system's settings.
inline std::optional<std::wstring> AddressOf(const std::optional<ProxySetting>& proxy)
{
    return proxy ? std::optional(proxy->address) : std::nullopt;
}

// A WinINet session through this proxy; without one, through the system's
// own settings. Null on failure, with the cause as the last error.
HINTERNET OpenInternetSession(const wchar_t* userAgent, const std::optional<std::wstring>& proxy);

// Gives the proxy the credentials on the request and sends it once more,
// with its body; false, with nothing sent, when there are none to give.
bool AnswerProxyChallenge(HINTERNET request, const ProxyCredentials& credentials, const std::string& body);
