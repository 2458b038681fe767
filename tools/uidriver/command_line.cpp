#include "command_line.h"

#include "dialog_driver.h"

namespace uidriver {

const char kUsage[] =
    "usage: uidriver [--caption TEXT] [--out FILE] COMMAND [ARGS]\n"
    "  dump                    controls, caption and Close item as JSON\n"
    "  click ID                click a button\n"
    "  command ID              send WM_COMMAND ID to the dialog (2: as Escape)\n"
    "  link ID                 click the text of a link control\n"
    "  check ID on|off         tick or untick a check box\n"
    "  wait-window [MS]        wait until the dialog is shown\n"
    "  wait-enabled ID [MS]    wait until a control is enabled\n"
    "  wait-text ID TEXT [MS]  wait until a control shows exactly TEXT\n"
    "  wait-closed [MS]        wait until the dialog is gone\n"
    "  ping N                  N WM_NULL round trips: median and 99th percentile in microseconds\n"
    "  startup PROGRAM N       start PROGRAM N times: process start to dialog shown, median in microseconds\n"
    "--caption defaults to \"VTA Agent Download Manager\"; --out writes the output to FILE.\n"
    "Exit code: 0 success, 1 failure or time-out, 2 wrong command line.\n";

Invocation ParseCommandLine(const std::vector<std::wstring>& words)
{
    Invocation invocation{kProductCaption, std::nullopt, {}, {}};
    for (size_t i = 0; i < words.size(); ++i) {
        const std::wstring& word = words[i];
        const bool takesValue = word == L"--caption" || word == L"--out";
        if (takesValue && i + 1 == words.size())
            throw UsageError("option needs a value");
        if (word == L"--caption")
            invocation.caption = words[++i];
        else if (word == L"--out")
            invocation.outputFile = words[++i];
        else if (invocation.command.empty())
            invocation.command = word;
        else
            invocation.arguments.push_back(word);
    }
    if (invocation.command.empty())
        throw UsageError("no command given");
    return invocation;
}

}  // namespace uidriver
