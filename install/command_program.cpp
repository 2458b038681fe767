// Reading an install command's program and its /norestart form.
#include "command_program.h"

#include <cwctype>
#include <iterator>
#include <vector>

namespace {

bool IsSeparator(wchar_t c)
{
    return c == L'\\' || c == L'/';
}

bool SameName(const std::wstring& a, const std::wstring& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::towlower(a[i]) != std::towlower(b[i]))
            return false;
    }
    return true;
}

bool EndsWithExe(const std::wstring& word)
{
    return word.size() >= 4 && SameName(word.substr(word.size() - 4), L".exe");
}

// A drive's full path ("C:\\...") or a share's ("\\\\server\\...").
bool IsFullPath(const std::wstring& word)
{
    if (word.size() >= 3 && std::iswalpha(word[0]) && word[1] == L':' && IsSeparator(word[2]))
        return true;
    return word.size() >= 3 && IsSeparator(word[0]) && IsSeparator(word[1]) && !IsSeparator(word[2]);
}

std::wstring WithExtension(std::wstring word)
{
    size_t name = word.size();
    while (name > 0 && !IsSeparator(word[name - 1]) && word[name - 1] != L':')
        --name;
    if (word.find(L'.', name) == std::wstring::npos)
        word += L".exe";
    return word;
}

// Where each of the command's words is, split at blanks outside quotation
// marks; each keeps its marks.
struct WordSpan {
    size_t at;
    size_t length;
};

std::vector<WordSpan> WordSpansOf(const std::wstring& commandLine)
{
    std::vector<WordSpan> words;
    bool quoted = false;
    bool inWord = false;
    for (size_t i = 0; i < commandLine.size(); ++i) {
        const wchar_t c = commandLine[i];
        if (!quoted && (c == L' ' || c == L'\t')) {
            inWord = false;
            continue;
        }
        if (!inWord)
            words.push_back({i, 0});
        inWord = true;
        if (c == L'"')
            quoted = !quoted;
        ++words.back().length;
    }
    return words;
}

std::vector<std::wstring> WordsOf(const std::wstring& commandLine)
{
    std::vector<std::wstring> words;
    for (const WordSpan& word : WordSpansOf(commandLine))
        words.push_back(commandLine.substr(word.at, word.length));
    return words;
}

std::wstring Unquoted(const std::wstring& word)
{
    std::wstring text;
    for (const wchar_t c : word) {
        if (c != L'"')
            text += c;
    }
    return text;
}

// A switch of the user interface ("/qn", "/qb!-", "/quiet", "/passive") or
// of the restart ("/norestart"): those take no argument. Any other could take
// the next word as a file ("/l*v" writes a log there).
bool IsInterfaceOrRestartSwitch(const std::wstring& word)
{
    if (word.size() < 2 || (word[0] != L'/' && word[0] != L'-'))
        return false;
    const std::wstring name = word.substr(1);
    if (std::towlower(name[0]) == L'q' && name.find_first_not_of(L"qQnNbBrRfF+-!") == std::wstring::npos)
        return true;
    for (const wchar_t* known : {L"quiet", L"passive", L"norestart", L"forcerestart", L"promptrestart"}) {
        if (SameName(name, known))
            return true;
    }
    return false;
}

// "NAME=value", where the value may be quoted; not a property that makes
// Windows Installer load another file.
bool IsPropertyWord(const std::wstring& word)
{
    const size_t equals = word.find(L'=');
    if (equals == 0 || equals == std::wstring::npos || std::iswdigit(word[0]))
        return false;
    const std::wstring name = word.substr(0, equals);
    for (const wchar_t c : name) {
        if (!std::iswalnum(c) && c != L'_' && c != L'.')
            return false;
    }
    return !SameName(name, L"TRANSFORMS") && !SameName(name, L"PATCH");
}

}  // namespace

CommandProgram ProgramOfCommand(const std::wstring& commandLine, const std::wstring& packageFile)
{
    const size_t start = commandLine.find_first_not_of(L" \t");
    if (start == std::wstring::npos)
        return {CommandProgram::Where::Refused, {}};
    const bool quoted = commandLine[start] == L'"';
    std::wstring word;
    if (quoted) {
        const size_t closing = commandLine.find(L'"', start + 1);
        word = commandLine.substr(start + 1, closing == std::wstring::npos ? std::wstring::npos : closing - start - 1);
    } else {
        const size_t end = commandLine.find_first_of(L" \t", start);
        word = commandLine.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
    }
    // No file name holds a quotation mark; process creation would read one
    // inside an unquoted word as the start of a quoted part.
    if (word.empty() || word.find(L'"') != std::wstring::npos)
        return {CommandProgram::Where::Refused, {}};
    if (word.find_first_of(L"\\/:") == std::wstring::npos) {
        if (SameName(word, packageFile))
            return {CommandProgram::Where::Package, word};
        return {CommandProgram::Where::SystemDirectory, WithExtension(word)};
    }
    if (IsFullPath(word) && (quoted || EndsWithExe(word)))
        return {CommandProgram::Where::FullPath, WithExtension(word)};
    return {CommandProgram::Where::Refused, {}};
}

std::wstring WithRestartSuppressed(const std::wstring& commandLine, const std::wstring& packageFile)
{
    const CommandProgram program = ProgramOfCommand(commandLine, packageFile);
    if (program.where != CommandProgram::Where::SystemDirectory || !SameName(program.program, L"msiexec.exe"))
        return commandLine;
    // A property is set by a word "NAME=value"; Windows Installer reads its name in any case.
    constexpr wchar_t kProperty[] = L"reboot=";
    constexpr size_t kLength = std::size(kProperty) - 1;
    for (size_t at = 0; at + kLength <= commandLine.size(); ++at) {
        const bool wordStart = at == 0 || commandLine[at - 1] == L' ' || commandLine[at - 1] == L'\t';
        if (wordStart && SameName(commandLine.substr(at, kLength), kProperty))
            return commandLine;
    }
    return commandLine + L" REBOOT=ReallySuppress";
}

bool InstallsOnlyThePackage(const std::wstring& commandLine, const std::wstring& packageFile)
{
    const CommandProgram program = ProgramOfCommand(commandLine, packageFile);
    const std::vector<std::wstring> words = WordsOf(commandLine);
    if (program.where != CommandProgram::Where::SystemDirectory || !SameName(program.program, L"msiexec.exe") ||
        words.size() < 3)
        return false;
    const std::wstring action = words[1].substr(1);
    if ((words[1][0] != L'/' && words[1][0] != L'-') || !(SameName(action, L"i") || SameName(action, L"package")) ||
        !SameName(Unquoted(words[2]), packageFile))
        return false;
    for (size_t i = 3; i < words.size(); ++i) {
        if (!IsInterfaceOrRestartSwitch(words[i]) && !IsPropertyWord(words[i]))
            return false;
    }
    return true;
}

std::wstring WithPackagePath(const std::wstring& commandLine, const std::wstring& packageFile,
                             const std::wstring& path)
{
    std::wstring command;
    size_t copied = 0;
    for (const WordSpan& word : WordSpansOf(commandLine)) {
        if (!SameName(Unquoted(commandLine.substr(word.at, word.length)), packageFile))
            continue;
        command += commandLine.substr(copied, word.at - copied) + L"\"" + path + L"\"";
        copied = word.at + word.length;
    }
    return command + commandLine.substr(copied);
}
