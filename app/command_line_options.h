#pragma once

#include <optional>
#include <string>
#include <vector>

// How the program was asked to run. Without switches it runs as it always
// has: the dialog, waiting for the user.
enum class UiMode {
    Interactive,
    Quiet,    // no window at any time
    Passive,  // the dialog shows the run, starts it at once and closes itself
};

struct CommandLineOptions {
    UiMode mode = UiMode::Interactive;
    bool patchManagement = true;
    bool noRestart = false;  // msiexec never restarts the machine
    std::optional<std::wstring> proxy;  // host:port for every request of the run
    // Given to that proxy when it asks for credentials; only with /proxy.
    std::optional<std::wstring> proxyUser;
    std::optional<std::wstring> proxyPassword;
    std::optional<std::wstring> logFile;
    // /layout: fetches into this folder, installing nothing, what runs with
    // /source from it need.
    std::optional<std::wstring> layoutFolder;
    // /source: installs from this layout instead of downloading.
    std::optional<std::wstring> sourceFolder;
    bool help = false;
};

struct ParsedCommandLine {
    // Nothing when the command line is not understood; error says why.
    std::optional<CommandLineOptions> options;
    std::wstring error;
    // Whether /quiet was asked for, and the value of /log, even on a command
    // line not understood: then the usage error goes to that log, not to a
    // window.
    bool quiet = false;
    std::optional<std::wstring> logFile;
};

// The arguments after the program's own name. Switches start with "/" or
// "-" and are matched without regard to case; /proxy, /proxyuser,
// /proxypassword, /log, /layout and /source take the next argument as their
// value.
ParsedCommandLine ParseCommandLine(const std::vector<std::wstring>& arguments);

// The arguments as the log shows them, rebuilt from what was parsed rather
// than taken from the raw command line, whose quoting can spell a secret in
// ways no mask knows: each argument quoted where it needs it, the value of
// /proxypassword as "***".
std::wstring CommandLineForLog(const std::vector<std::wstring>& arguments);

// The usage message shown for /? and for a command line not understood.
std::wstring UsageText();
