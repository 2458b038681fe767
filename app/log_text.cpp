#include "log_text.h"

std::wstring MaskToken(std::wstring text, const std::wstring& token)
{
    if (token.empty())
        return text;
    for (size_t at = text.find(token); at != std::wstring::npos; at = text.find(token, at + 3))
        text.replace(at, token.size(), L"***");
    return text;
}
