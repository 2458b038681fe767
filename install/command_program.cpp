#include "command_program.h"

std::optional<std::wstring> BareProgramName(const std::wstring& commandLine)
{
    const size_t start = commandLine.find_first_not_of(L" \t");
    if (start == std::wstring::npos)
        return std::nullopt;
    std::wstring word;
    if (commandLine[start] == L'"') {
        const size_t closing = commandLine.find(L'"', start + 1);
        word = commandLine.substr(start + 1, closing == std::wstring::npos ? std::wstring::npos : closing - start - 1);
    } else {
        const size_t end = commandLine.find_first_of(L" \t", start);
        word = commandLine.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
    }
    if (word.empty() || word.find_first_of(L"\\/:") != std::wstring::npos)
        return std::nullopt;
    if (word.find(L'.') == std::wstring::npos)
        word += L".exe";
    return word;
}
