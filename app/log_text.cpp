#include "log_text.h"

std::wstring MaskToken(std::wstring text, const std::wstring& token)
{
    if (token.empty())
        return text;
    for (size_t at = text.find(token); at != std::wstring::npos; at = text.find(token, at + 3))
        text.replace(at, token.size(), L"***");
    return text;
}

std::wstring WithoutLineEnd(std::wstring line)
{
    while (!line.empty() && (line.back() == L'\n' || line.back() == L'\r'))
        line.pop_back();
    return line;
}
