// Opening a WinINet session through a proxy and answering its 407.
#include "proxy_setting.h"

HINTERNET OpenInternetSession(const wchar_t* userAgent, const std::optional<std::wstring>& proxy)
{
    return proxy ? ::InternetOpenW(userAgent, INTERNET_OPEN_TYPE_PROXY, proxy->c_str(), nullptr, 0)
                 : ::InternetOpenW(userAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
}

bool AnswerProxyChallenge(HINTERNET request, const ProxyCredentials& credentials, const std::string& body)
{
    if (credentials.user.empty() && credentials.password.empty())
        return false;
    if (!credentials.user.empty())
        ::InternetSetOptionW(request, INTERNET_OPTION_PROXY_USERNAME, const_cast<wchar_t*>(credentials.user.c_str()),
                             static_cast<DWORD>(credentials.user.size()));
    if (!credentials.password.empty())
        ::InternetSetOptionW(request, INTERNET_OPTION_PROXY_PASSWORD,
                             const_cast<wchar_t*>(credentials.password.c_str()),
                             static_cast<DWORD>(credentials.password.size()));
    ::HttpSendRequestW(request, nullptr, 0, const_cast<char*>(body.data()), static_cast<DWORD>(body.size()));
    return true;
}
