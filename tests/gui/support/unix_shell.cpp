#include "unix_shell.h"

#include <windows.h>

#include "polling.h"

namespace gui_test {

// For a Unix program Wine hands back no process handle and a thread handle
// that is not one: closing it broke this process's registry root keys for
// the tests after (measured), so nothing is waited for or closed. Wine also
// lists no link whose target is missing: the command leaves a mark when it
// is done.
bool RunInUnixShell(const std::filesystem::path& folder, const std::wstring& command)
{
    const std::filesystem::path mark = folder / L"shell-command.done";
    std::wstring commandLine = L"sh -c \"" + command + L" && touch shell-command.done\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(L"Z:\\bin\\sh", commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &startup, &started))
        return false;
    const bool done = uidriver::PollUntil([&] { return std::filesystem::exists(mark); }, std::chrono::seconds(5));
    std::filesystem::remove(mark);
    return done;
}

}  // namespace gui_test
