#include "log_text.h"

std::wstring MaskToken(std::wstring text, const std::wstring& token)
{
    if (token.empty())
        return text;
    for (size_t at = text.find(token); at != std::wstring::npos; at = text.find(token, at + 3))
        text.replace(at, token.size(), L"***");
    return text;
}

std::vector<std::wstring> CommandLineForms(const std::wstring& secret)
{
    std::wstring escaped;
    size_t backslashes = 0;
    for (const wchar_t c : secret) {
        if (c == L'"')
            escaped.append(backslashes + 1, L'\\');
        backslashes = c == L'\\' ? backslashes + 1 : 0;
        escaped += c;
    }
    if (escaped == secret)
        return {secret};
    return {escaped, secret};
}

std::wstring WithoutLineEnd(std::wstring line)
{
    while (!line.empty() && (line.back() == L'\n' || line.back() == L'\r'))
        line.pop_back();
    return line;
}
