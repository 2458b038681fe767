#include "child_process.h"

#include <stdexcept>

namespace uidriver {

ChildProcess ChildProcess::Start(const std::filesystem::path& executable, const std::wstring& arguments,
                                 const std::filesystem::path& directory)
{
    std::wstring commandLine = Quoted(executable) + L" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(executable.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        directory.c_str(), &startup, &started))
        throw std::runtime_error("cannot start " + executable.u8string() + ", error " +
                                 std::to_string(GetLastError()));
    const KernelHandle unusedThread(started.hThread);
    return ChildProcess(KernelHandle(started.hProcess), started.dwProcessId);
}

ChildProcess::ChildProcess(KernelHandle process, DWORD id) : process_(std::move(process)), id_(id)
{
}

bool ChildProcess::IsRunning() const
{
    return WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> ChildProcess::WaitForExit(Milliseconds timeout) const
{
    if (WaitForSingleObject(process_.get(), static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0)
        return std::nullopt;
    DWORD exitCode = 0;
    GetExitCodeProcess(process_.get(), &exitCode);
    return exitCode;
}

void ChildProcess::Terminate(Milliseconds timeout) const
{
    if (IsRunning())
        TerminateProcess(process_.get(), 1);
    WaitForExit(timeout);
}

std::optional<bool> ChildProcess::IsWow64() const
{
    BOOL wow64 = FALSE;
    if (!IsWow64Process(process_.get(), &wow64))
        return std::nullopt;
    return wow64 != FALSE;
}

std::wstring Quoted(const std::filesystem::path& path)
{
    return L"\"" + path.wstring() + L"\"";
}

}  // namespace uidriver
