#include "command_line_options.h"

#include <cwctype>

namespace {

// The switch's name in lower case without its "/" or "-", or nothing for an
// argument that is no switch.
std::optional<std::wstring> SwitchName(const std::wstring& argument)
{
    if (argument.size() < 2 || (argument[0] != L'/' && argument[0] != L'-'))
        return std::nullopt;
    std::wstring name = argument.substr(1);
    for (wchar_t& c : name)
        c = static_cast<wchar_t>(std::towlower(c));
    return name;
}

bool SetMode(CommandLineOptions& options, UiMode mode, std::wstring& error)
{
    if (options.mode != UiMode::Interactive && options.mode != mode) {
        error = L"/quiet and /passive cannot be combined";
        return false;
    }
    options.mode = mode;
    return true;
}

// Where the value of a switch that takes one goes; nothing for other switches.
std::optional<std::wstring>* ValueOf(CommandLineOptions& options, const std::wstring& name)
{
    if (name == L"proxy")
        return &options.proxy;
    if (name == L"proxyuser")
        return &options.proxyUser;
    if (name == L"proxypassword")
        return &options.proxyPassword;
    if (name == L"log")
        return &options.logFile;
    if (name == L"layout")
        return &options.layoutFolder;
    if (name == L"source")
        return &options.sourceFolder;
    return nullptr;
}

// An argument as the command-line rules read it back: quoted when it is
// empty or holds a blank or a quotation mark, each '"' escaped and the
// backslashes before it, or before the closing mark, doubled.
std::wstring Quoted(const std::wstring& argument)
{
    if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos)
        return argument;
    std::wstring quoted = L"\"";
    size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'"')
            quoted.append(backslashes + 1, L'\\');
        backslashes = c == L'\\' ? backslashes + 1 : 0;
        quoted += c;
    }
    return quoted.append(backslashes, L'\\') + L"\"";
}

}  // namespace

std::wstring CommandLineForLog(const std::vector<std::wstring>& arguments)
{
    std::wstring line;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const bool secret = i > 0 && SwitchName(arguments[i - 1]) == L"proxypassword" && !arguments[i].empty() &&
                            !SwitchName(arguments[i]);
        line += (i > 0 ? L" " : L"") + (secret ? std::wstring(L"***") : Quoted(arguments[i]));
    }
    return line;
}

ParsedCommandLine ParseCommandLine(const std::vector<std::wstring>& arguments)
{
    ParsedCommandLine parsed;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::optional<std::wstring> name = SwitchName(arguments[i]);
        parsed.quiet = parsed.quiet || name == L"quiet";
        if (name == L"log" && i + 1 < arguments.size() && !arguments[i + 1].empty() && !SwitchName(arguments[i + 1]))
            parsed.logFile = arguments[i + 1];
    }

    CommandLineOptions options;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::optional<std::wstring> name = SwitchName(arguments[i]);
        if (!name) {
            parsed.error = L"Unknown argument: " + arguments[i];
            return parsed;
        }
        // A switch's value is the next argument, unless that is a switch itself.
        const auto value = [&]() -> std::optional<std::wstring> {
            if (i + 1 >= arguments.size() || arguments[i + 1].empty() || SwitchName(arguments[i + 1]))
                return std::nullopt;
            return arguments[++i];
        };
        if (*name == L"quiet" || *name == L"passive") {
            if (!SetMode(options, *name == L"quiet" ? UiMode::Quiet : UiMode::Passive, parsed.error))
                return parsed;
        } else if (*name == L"nopatchmanagement") {
            options.patchManagement = false;
        } else if (*name == L"norestart") {
            options.noRestart = true;
        } else if (std::optional<std::wstring>* const target = ValueOf(options, *name)) {
            *target = value();
            if (!*target) {
                parsed.error = L"/" + *name + L" needs a value";
                return parsed;
            }
        } else if (*name == L"?" || *name == L"help") {
            options.help = true;
        } else {
            parsed.error = L"Unknown switch: " + arguments[i];
            return parsed;
        }
    }
    // Credentials are for the proxy of the command line; without one they
    // would be silently ignored.
    if (!options.proxy && (options.proxyUser || options.proxyPassword)) {
        parsed.error = L"/proxyuser and /proxypassword need /proxy";
        return parsed;
    }
    if (options.layoutFolder && options.sourceFolder) {
        parsed.error = L"/layout and /source cannot be combined";
        return parsed;
    }
    parsed.options = options;
    return parsed;
}

std::wstring UsageText()
{
    return L"Installs the VTA Agent and, unless told otherwise, Patch Management.\n"
           L"\n"
           L"Options:\n"
           L"  /quiet\t\t\tNo window at any time.\n"
           L"  /passive\t\tShows the progress, needs no click, closes itself.\n"
           L"  /nopatchmanagement\tInstalls the VTA Agent only.\n"
           L"  /norestart\t\tWindows Installer never restarts the machine.\n"
           L"  /proxy host:port\tSends every request of the run through this proxy.\n"
           L"  /proxyuser name\tThe user name for that proxy, when it asks for one.\n"
           L"  /proxypassword secret\tIts password; never written to the log.\n"
           L"  /log file\t\tWrites a log of the run to this file. Without it, /quiet and\n"
           L"\t\t\t/passive write %TEMP%\\vta_agent_download_manager_<date>_<time>_<n>_<x>.log.\n"
           L"  /layout folder\tDownloads both VTA Agent packages and Patch Management into this\n"
           L"\t\t\tfolder for /source, installing nothing.\n"
           L"  /source folder\tInstalls from a folder that /layout made, without the network.\n"
           L"  /?, /help\t\tShows this message.\n"
           L"\n"
           L"With /quiet or /passive the exit code tells the outcome: 0 when everything was installed,\n"
           L"3010 when a restart is needed to finish.";
}
