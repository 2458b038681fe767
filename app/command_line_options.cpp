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

}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::wstring>& arguments)
{
    ParsedCommandLine parsed;
    for (const std::wstring& argument : arguments)
        parsed.quiet = parsed.quiet || SwitchName(argument) == L"quiet";

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
        } else if (*name == L"proxy" || *name == L"log") {
            const std::optional<std::wstring> given = value();
            if (!given) {
                parsed.error = L"/" + *name + L" needs a value";
                return parsed;
            }
            (*name == L"proxy" ? options.proxy : options.logFile) = *given;
        } else if (*name == L"?" || *name == L"help") {
            options.help = true;
        } else {
            parsed.error = L"Unknown switch: " + arguments[i];
            return parsed;
        }
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
           L"  /proxy host:port\tDownloads the VTA Agent through this proxy.\n"
           L"  /log file\t\tWrites a log of the run to this file.\n"
           L"  /?, /help\t\tShows this message.\n"
           L"\n"
           L"With /quiet or /passive the exit code tells the outcome: 0 when everything was installed.";
}
