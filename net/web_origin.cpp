// Reading a web address into the host and port it leads to.
#include "web_origin.h"

#include <cwctype>

namespace {

bool StartsWithNoCase(const std::wstring& text, const wchar_t* prefix)
{
    size_t i = 0;
    for (; prefix[i] != L'\0'; ++i) {
        if (i == text.size() || std::towlower(text[i]) != static_cast<wint_t>(prefix[i]))
            return false;
    }
    return true;
}

std::wstring Lower(std::wstring text)
{
    for (wchar_t& c : text) {
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c - L'A' + L'a');
    }
    return text;
}

// "host", "host:port", "[v6]" or "[v6]:port" into the address's host and port.
bool ReadAuthority(const std::wstring& authority, WebUrl& url)
{
    size_t hostEnd = authority.rfind(L':');
    if (!authority.empty() && authority[0] == L'[') {
        const size_t closing = authority.find(L']');
        if (closing == std::wstring::npos)
            return false;
        hostEnd = closing + 1 < authority.size() ? closing + 1 : std::wstring::npos;
        if (hostEnd != std::wstring::npos && authority[hostEnd] != L':')
            return false;
    }
    url.host = Lower(authority.substr(0, hostEnd));
    if (url.host.empty())
        return false;
    if (hostEnd == std::wstring::npos)
        return true;
    const std::wstring digits = authority.substr(hostEnd + 1);
    if (digits.empty() || digits.size() > 5)
        return false;
    uint32_t port = 0;
    for (const wchar_t c : digits) {
        if (c < L'0' || c > L'9')
            return false;
        port = port * 10 + static_cast<uint32_t>(c - L'0');
    }
    if (port == 0 || port > 65535)
        return false;
    url.port = static_cast<uint16_t>(port);
    return true;
}

}  // namespace

std::optional<WebUrl> ParseWebUrl(const std::wstring& text)
{
    WebUrl url;
    size_t start = 0;
    if (StartsWithNoCase(text, L"https://")) {
        url.https = true;
        start = 8;
    } else if (StartsWithNoCase(text, L"http://")) {
        start = 7;
    } else {
        return std::nullopt;
    }
    const size_t authorityEnd = text.find_first_of(L"/?#", start);
    const std::wstring authority = text.substr(start, authorityEnd - start);
    url.port = url.https ? 443 : 80;
    if (authority.find(L'@') != std::wstring::npos || !ReadAuthority(authority, url))
        return std::nullopt;
    if (authorityEnd != std::wstring::npos)
        url.object = text.substr(authorityEnd, text.find(L'#', authorityEnd) - authorityEnd);
    if (url.object.empty() || url.object[0] != L'/')
        url.object.insert(0, L"/");
    return url;
}

bool IsHttpsOn(const std::wstring& url, const WebUrl& asked)
{
    const std::optional<WebUrl> parsed = ParseWebUrl(url);
    return parsed && parsed->https && parsed->host == asked.host && parsed->port == asked.port;
}

bool IsFollowedRedirect(uint32_t status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}
