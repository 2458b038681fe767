// Reading Content-Length and checking a package URL's scheme.
#include "download_text.h"

#include <climits>
#include <cwctype>

int64_t ParseContentLength(const std::wstring& text)
{
    size_t i = 0;
    while (i < text.size() && std::iswspace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-'))
        negative = text[i++] == L'-';

    int64_t value = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        value = value * 10 + (text[i] - L'0');
        if (value > static_cast<int64_t>(INT_MAX) + 1)
            break;  // saturated: the result is a 32-bit limit either way
    }
    if (negative)
        return value > static_cast<int64_t>(INT_MAX) + 1 ? INT_MIN : -value;
    return value > INT_MAX ? INT_MAX : value;
}

bool IsWebUrl(const std::wstring& url)
{
    const auto startsWith = [&url](const std::wstring& scheme) {
        if (url.size() < scheme.size())
            return false;
        for (size_t i = 0; i < scheme.size(); ++i) {
            if (static_cast<wchar_t>(std::towlower(url[i])) != scheme[i])
                return false;
        }
        return true;
    };
    return startsWith(L"https://") || startsWith(L"http://");
}
