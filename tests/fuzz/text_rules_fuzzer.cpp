// The text rules fed by the network and the file system: the Content-Length
// header, the service's URL and install command, the executable's name and
// the command line. Each is a fuzzer of its own, chosen by FUZZ_RULE_*. The
// input is UTF-16 text; its pieces between U+0000 are the texts, the first
// one also a setup token, and those after it the command-line arguments.
#include <algorithm>
#include <climits>
#include <cwctype>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "command_line_options.h"
#include "command_program.h"
#include "download_text.h"
#include "package_file_name.h"
#include "fuzz_invariant.h"
#include "installer_names.h"
#include "log_text.h"
#include "utf16_input.h"
#include "web_origin.h"

namespace {

bool StartsWith(const std::wstring& text, const std::wstring& start)
{
    return text.compare(0, start.size(), start) == 0;
}

bool EndsWith(const std::wstring& text, const std::wstring& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

bool Contains(const std::wstring& text, const std::wstring& part)
{
    return text.find(part) != std::wstring::npos;
}

bool IsPath(const std::wstring& text)
{
    return text.find_first_of(L"\\/:") != std::wstring::npos;
}

// Optional sign, then 1 to 18 digits: text whose value a 64-bit reading
// gives exactly.
bool IsShortDecimal(const std::wstring& text)
{
    const size_t first = text.find_first_not_of(L"+-") == 1 ? 1 : 0;
    if (text.size() <= first || text.size() - first > 18)
        return false;
    return text.find_first_not_of(L"0123456789", first) == std::wstring::npos;
}

[[maybe_unused]] void CheckContentLength(const std::wstring& text)
{
    const int64_t length = ParseContentLength(text);
    Require(length >= INT_MIN && length <= INT_MAX, "a Content-Length is within the 32-bit range");
    Require(ParseContentLength(text + L"x") == length, "reading stops at the first non-digit");
    if (length == INT_MAX || length == INT_MIN)
        Require(ParseContentLength(text + L"9") == length, "a value at a 32-bit limit stays there");
    if (IsShortDecimal(text)) {
        const int64_t exact = std::stoll(std::string(text.begin(), text.end()));
        Require(length == (exact > INT_MAX ? INT_MAX : exact < INT_MIN ? INT_MIN : exact),
                "a decimal is read as its value, clamped to 32 bits");
    }
}

[[maybe_unused]] void CheckWebUrl(const std::wstring& url)
{
    const size_t separator = url.find(L"://");
    std::wstring scheme = separator == std::wstring::npos ? std::wstring() : url.substr(0, separator + 3);
    for (wchar_t& c : scheme)
        c = c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
    Require(IsWebUrl(url) == (scheme == L"http://" || scheme == L"https://"),
            "a URL is fetched exactly when its scheme is http or https, in ASCII letters of any case");
    // A redirect's Location and an answer's URL are read by the same parser.
    const std::optional<WebUrl> parsed = ParseWebUrl(url);
    if (!parsed)
        return;
    Require(IsWebUrl(url) && parsed->https == (scheme == L"https://"), "only a web address has parts");
    Require(!parsed->host.empty() && parsed->port != 0 && !Contains(parsed->host, L"@") &&
                !Contains(parsed->host, L"/") && StartsWith(parsed->object, L"/") && !Contains(parsed->object, L"#"),
            "a host, a port and an object that starts at /");
    Require(IsHttpsOn(url, *parsed) == parsed->https, "an https address is on its own host");
}

// The held package's path takes the place of each word naming the package,
// and of nothing else.
[[maybe_unused]] void CheckPackagePath(const std::wstring& command)
{
    const std::wstring path = L"C:\\Held Folder\\pm.msi";
    const std::wstring named = WithPackagePath(command, L"pm.msi", path);
    // A word names the package with its quotation marks taken out, as the
    // program started reads its arguments ("pm\".msi" is pm.msi).
    std::wstring lower;
    for (const wchar_t c : command) {
        if (c != L'"')
            lower += static_cast<wchar_t>(std::towlower(c));
    }
    if (!Contains(lower, L"pm.msi"))
        Require(named == command, "a command that does not name the package is left as it is");
    if (command.find_first_of(L"\"") == std::wstring::npos)
        Require(!Contains(named, L" pm.msi ") && named.size() >= command.size(), "every word naming it is replaced");
}

[[maybe_unused]] void CheckPatchInstallerFile(const std::wstring& command)
{
    const std::optional<std::wstring> file = PatchInstallerFileFromCommand(command);
    const size_t extension = command.find(L".msi");
    if (extension == std::wstring::npos) {
        Require(!file, "a command without \".msi\" names no file");
        return;
    }
    const std::wstring throughExtension = command.substr(0, extension + 4);
    Require(file.has_value() == Contains(throughExtension, L" "), "a package word needs a space before it");
    if (!file)
        return;
    Require(EndsWith(*file, L".msi") && file->find(L".msi") == file->size() - 4,
            "the file name ends with the command's first \".msi\"");
    Require(EndsWith(throughExtension, L" " + *file) && !Contains(*file, L" "),
            "the file name is the whole word before it");
}

[[maybe_unused]] void CheckCommandProgram(const std::wstring& command)
{
    const CommandProgram resolved = ProgramOfCommand(command, L"pm.msi");
    const std::wstring& program = resolved.program;
    if (InstallsOnlyThePackage(command, L"pm.msi"))
        Require(resolved.where == CommandProgram::Where::SystemDirectory && program.size() == 11,
                "a pinned build's command is the system's msiexec");
    switch (resolved.where) {
    case CommandProgram::Where::Refused:
        Require(program.empty(), "a refused command names no program");
        break;
    case CommandProgram::Where::SystemDirectory:
        Require(!program.empty() && !IsPath(program), "a system program is a bare name");
        Require(Contains(program, L"."), "a system program has an extension");
        break;
    case CommandProgram::Where::Package:
        Require(program.size() == 6 && !IsPath(program), "the package is named by its own name");
        break;
    case CommandProgram::Where::FullPath:
        // \\. is the shortest: a share's two separators and a name.
        Require(program.size() >= 3 && (program[1] == L':' || (IsPath(program.substr(0, 1)) && IsPath(program.substr(1, 1)))),
                "a full path starts at a drive or a share");
        Require(!Contains(program, L"\"") && Contains(command, program.substr(0, program.size() - 4)),
                "the full path is taken from the command");
        break;
    }
}

[[maybe_unused]] void CheckInstallerNames(const std::wstring& exeBaseName)
{
    for (const bool windows64Bit : {true, false}) {
        const InstallerNames names = DeriveInstallerNames(exeBaseName, windows64Bit);
        const std::wstring& file = names.agentInstallerFile;
        const std::wstring start = windows64Bit ? L"vta-agent-x64" : L"vta-agent-x86";
        Require(StartsWith(file, start) && EndsWith(file, L".msi"),
                "an agent package name has its fixed start and end");
        const std::wstring suffix = file.substr(start.size(), file.size() - start.size() - 4);
        Require(suffix.empty() || (suffix[0] == L'_' && suffix.find(L'_', 1) == std::wstring::npos),
                "the agent package carries the name's last \"_\" part, or nothing");
        Require(Contains(exeBaseName, suffix), "the carried part comes from the name");
        Require(IsPath(exeBaseName) || !IsPath(file), "a name with no path in it makes no path");
        Require(names.setupToken.empty() || suffix == L"_s" + names.setupToken, "the token is the \"_s\" part's rest");
        if (exeBaseName.empty() || exeBaseName.back() != L')') {
            const InstallerNames copy = DeriveInstallerNames(exeBaseName + L" (12)", windows64Bit);
            Require(copy.agentInstallerFile == file && copy.setupToken == names.setupToken,
                    "a browser's copy marker changes nothing");
        }
    }
}

[[maybe_unused]] void CheckMaskToken(const std::wstring& token, const std::wstring& text)
{
    const std::wstring masked = MaskToken(text, token);
    if (token.empty() || !Contains(text, token))
        Require(masked == text, "text without the token is left as it is");
    // A token comes from a file name, so it never holds the mask's "*".
    if (!token.empty() && !Contains(token, L"*"))
        Require(!Contains(masked, token), "a masked text never shows the token");
}

[[maybe_unused]] void CheckCommandLine(const std::vector<std::wstring>& arguments)
{
    const ParsedCommandLine parsed = ParseCommandLine(arguments);
    Require(parsed.options.has_value() == parsed.error.empty(), "a command line is understood or has its error");
    if (parsed.options) {
        const CommandLineOptions& options = *parsed.options;
        Require(parsed.quiet == (options.mode == UiMode::Quiet), "the quiet flag agrees with the mode");
        for (const std::optional<std::wstring>& value :
             {options.proxy, options.proxyUser, options.proxyPassword, options.logFile}) {
            Require(!value || (!value->empty() && std::count(arguments.begin(), arguments.end(), *value) > 0),
                    "a switch's value is one of the arguments, never empty");
        }
    }

    std::vector<std::wstring> twice = arguments;
    twice.insert(twice.end(), arguments.begin(), arguments.end());
    const ParsedCommandLine repeated = ParseCommandLine(twice);
    Require(repeated.options.has_value() == parsed.options.has_value(),
            "repeating a command line does not change whether it is understood");
    if (parsed.options) {
        const CommandLineOptions& a = *parsed.options;
        const CommandLineOptions& b = *repeated.options;
        Require(a.mode == b.mode && a.patchManagement == b.patchManagement && a.proxy == b.proxy &&
                    a.proxyUser == b.proxyUser && a.proxyPassword == b.proxyPassword && a.logFile == b.logFile &&
                    a.help == b.help,
                "nor what it asks for");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::wstring text = Utf16Text(data, size);
    const std::vector<std::wstring> pieces = PiecesBetweenZeros(text);
#if defined(FUZZ_RULE_COMMAND_LINE)
    CheckCommandLine(std::vector<std::wstring>(pieces.begin() + 1, pieces.end()));
#elif defined(FUZZ_RULE_EXECUTABLE_NAME)
    CheckMaskToken(pieces.front(), text.substr(pieces.front().size()));
    for (const std::wstring& piece : pieces)
        CheckInstallerNames(piece);
#else
    for (const std::wstring& piece : pieces) {
#if defined(FUZZ_RULE_CONTENT_LENGTH)
        CheckContentLength(piece);
#elif defined(FUZZ_RULE_WEB_URL)
        CheckWebUrl(piece);
#elif defined(FUZZ_RULE_INSTALL_COMMAND)
        CheckPatchInstallerFile(piece);
        CheckCommandProgram(piece);
        CheckPackagePath(piece);
#endif
    }
#endif
    return 0;
}
