// Running a downloaded package and turning its exit code into the outcome.
#include <vector>

#include "ansi_text.h"
#include "build_config.h"
#include "command_program.h"
#include "exit_codes.h"
#include "install_sequence.h"
#include "other_installation.h"
#include "safe_file.h"
#include "system_directory.h"

namespace {

// An installer's exit code, or the system error of a launch that failed.
struct Launch {
    bool started;
    DWORD code;
};

// The full path of an install command's program, as ProgramOfCommand
// decides it; nothing when it refuses the command.
std::optional<std::wstring> ProgramPath(const std::wstring& command, const std::wstring& packageFile)
{
    const CommandProgram resolved = ProgramOfCommand(command, packageFile);
    switch (resolved.where) {
    case CommandProgram::Where::SystemDirectory:
        return InSystemDirectory(resolved.program);
    case CommandProgram::Where::FullPath:
        return resolved.program;
    case CommandProgram::Where::Package:
        return FullPath(packageFile);
    case CommandProgram::Where::Refused:
        break;
    }
    return std::nullopt;
}

// Starts a command line and waits for it. The program is always named:
// process creation never searches for it. Windowless: no console window for
// a command-line program; otherwise its windows are shown normally.
Launch StartProgram(const std::wstring& program, const std::wstring& command, bool windowless)
{
    std::vector<wchar_t> commandLine(command.begin(), command.end());
    commandLine.push_back(L'\0');

    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    if (!windowless) {
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_SHOWNORMAL;
    }
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                          (windowless ? CREATE_NO_WINDOW : 0) | NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup,
                          &process))
        return {false, ::GetLastError()};

    ::CloseHandle(process.hThread);
    ::WaitForSingleObject(process.hProcess, INFINITE);
    Launch launch{true, 0};
    ::GetExitCodeProcess(process.hProcess, &launch.code);
    ::CloseHandle(process.hProcess);
    return launch;
}

// The agent is installed by the system's Windows Installer itself, never
// through the .msi association: a program of the user can register its own
// command for that in the user's class registrations, which an elevated
// process merges in. The dialog shows the installer's whole interface, as
// the association's "open" does on a clean machine. msiexec appends its log
// to the file the program made for it (`withLog`).
std::wstring AgentMsiexecCommand(const std::wstring& package, const InstallationOptions& options, bool withLog)
{
    std::wstring command = L"msiexec.exe /i \"" + FullPath(package) + L"\"";
    if (options.agentLaunch == AgentLaunch::MsiexecPassive)
        command += L" /passive";
    else if (options.agentLaunch == AgentLaunch::MsiexecQuiet)
        command += L" /qn";
    if (withLog)
        command += L" /l*v+ \"" + options.agentInstallerLog + L"\"";
    if (options.suppressRestart)
        command += L" REBOOT=ReallySuppress";
    return command;
}

}  // namespace

std::optional<DWORD> InstallSequence::RunInstaller(PackageKind kind)
{
    ::Sleep(kLaunchPauseMs);
    const ULONGLONG startedMs = ::GetTickCount64();
    // msiexec opens its log by name: the program creates it first, never
    // through a planted link, and keeps it from being deleted or replaced
    // (sharing reading and writing only) until msiexec ends. A log that
    // cannot be made so is left out.
    const bool agent = kind == PackageKind::Agent;
    const OwnedFile agentLog(agent && !m_options.agentInstallerLog.empty()
                                 ? CreateNewFile(m_options.agentInstallerLog, FILE_READ_ATTRIBUTES,
                                                 FILE_SHARE_READ | FILE_SHARE_WRITE)
                                 : INVALID_HANDLE_VALUE);
    const std::wstring package = (agent ? m_files.m_strAgentInstallerFile : m_files.m_strPatchInstallerFile).str();
    // The install command passes through the thread's ANSI code page on its way.
    std::wstring command = agent ? AgentMsiexecCommand(package, m_options, agentLog.IsOpen())
                                 : ThroughThreadAnsi(m_files.m_strPatchInstallCommand.str());
    if (!agent && m_options.suppressRestart)
        command = WithRestartSuppressed(command, package);
    m_host.Note(L"Starting " + command);

    Launch launch{false, exit_codes::kProgramRefused};
    const std::optional<std::wstring> program = ProgramPath(command, package);
    if (!program)
        m_host.Note(L"The install command's program is refused: a relative path with a folder in it, or an "
                    L"unquoted path that does not end in .exe, would let files of the working folder decide "
                    L"what runs");
    OtherInstallationWaits waits;
    bool cancelled = false;
    while (program && !cancelled) {
        // Unattended, an installer waits for one that runs already, and is
        // started again when it answers that one runs, until the time is up.
        while (m_options.unattended && !cancelled && OtherInstallationRuns() && !waits.OutOfTime())
            cancelled = !AwaitOtherInstallation(waits.NextWaitMs(), L"Another installation is in progress");
        if (cancelled)
            break;
        launch = StartProgram(*program, command, !(agent && m_options.agentLaunch == AgentLaunch::MsiexecFull));
        if (!m_options.unattended || !launch.started || launch.code != exit_codes::kAlreadyRunning ||
            waits.OutOfTime())
            break;
        cancelled = !AwaitOtherInstallation(waits.NextWaitMs(),
                                            L"The installer answered 1618: another installation is in progress");
    }
    // The installer has ended, or never started: the package is no longer held.
    m_heldPackage.Release();
    if (cancelled)
        return std::nullopt;
    // A launch that failed reports its system error in the exit code's place.
    if (launch.started)
        m_host.Note(L"The installer ended with exit code " + std::to_wstring(launch.code) + L" after " +
                    std::to_wstring(::GetTickCount64() - startedMs) + L" ms");
    else if (launch.code != exit_codes::kProgramRefused)
        NoteError(L"The installer could not be started", launch.code);
    Report(InstallerMessage(kind, launch.code));
    m_host.UpdateDownloadProgress(m_packageTotal, m_packageTotal);
    return launch.code;
}

bool InstallSequence::AwaitOtherInstallation(DWORD waitMs, const wchar_t* why)
{
    m_host.AppendLog((std::wstring(why) + L"; waiting " + std::to_wstring((waitMs + 999) / 1000) +
                      L" s before starting the installer.\r\n")
                         .c_str());
    // Cancel ends the wait in /passive; nothing runs yet that it would cut.
    m_host.EnableButton(IDCANCEL, TRUE);
    const bool cancelled = ::WaitForSingleObject(m_host.CancelEvent(), waitMs) == WAIT_OBJECT_0;
    m_host.EnableButton(IDCANCEL, FALSE);
    return !cancelled;
}
