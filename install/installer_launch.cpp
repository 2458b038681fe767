// Starting a downloaded package's installer and waiting for it to end: the
// program it runs, its command line, its log, and the waits for another
// installation.
#include "installer_launch.h"

#include <vector>

#include "ansi_text.h"
#include "build_config.h"
#include "cancellable_wait.h"
#include "command_program.h"
#include "error_text.h"
#include "exit_codes.h"
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
// decides it (the held package's own path, `packagePath`, where it names
// the package); nothing when it refuses the command.
std::optional<std::wstring> ProgramPath(const std::wstring& command, const std::wstring& packageFile,
                                        const std::wstring& packagePath)
{
    const CommandProgram resolved = ProgramOfCommand(command, packageFile);
    switch (resolved.where) {
    case CommandProgram::Where::SystemDirectory:
        return InSystemDirectory(resolved.program);
    case CommandProgram::Where::FullPath:
        return resolved.program;
    case CommandProgram::Where::Package:
        return packagePath;
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

// An msiexec package (the agent) is installed by the system's Windows
// Installer itself, never through the .msi association: a program of the user can register its own
// command for that in the user's class registrations, which an elevated
// process merges in. The dialog shows the installer's whole interface, as
// the association's "open" does on a clean machine. msiexec appends its log
// to the file the program made for it (`logPath`, when there is one).
std::wstring MsiexecCommand(const std::wstring& packagePath, const RunChoices& choices, const std::wstring& logPath)
{
    std::wstring command = L"msiexec.exe /i \"" + packagePath + L"\"";
    if (choices.agentLaunch == AgentLaunch::MsiexecPassive)
        command += L" /passive";
    else if (choices.agentLaunch == AgentLaunch::MsiexecQuiet)
        command += L" /qn";
    if (!logPath.empty())
        command += L" /l*v+ \"" + logPath + L"\"";
    if (choices.suppressRestart)
        command += L" REBOOT=ReallySuppress";
    return command;
}

// Says why and how long the installer waits, and waits; false when the user
// cancelled meanwhile.
bool AwaitOtherInstallation(InstallationHost& host, DWORD waitMs, const wchar_t* why)
{
    host.AddDetail(std::wstring(why) + L"; waiting " + std::to_wstring((waitMs + 999) / 1000) +
                   L" s before starting the installer.");
    // Cancel ends the wait in /passive; nothing runs yet that it would cut.
    host.AllowCancel(true);
    const bool waited = WaitUnlessCancelled(host.CancelEvent(), waitMs);
    host.AllowCancel(false);
    return waited;
}

}  // namespace

std::optional<DWORD> RunInstaller(InstallationHost& host, const RunChoices& choices, const PlannedPackage& package,
                                  const HeldPackage& held)
{
    ::Sleep(kLaunchPauseMs);
    const ULONGLONG startedMs = ::GetTickCount64();
    // msiexec opens its log by name: the program creates it first, never
    // through a planted link, and keeps it from being deleted or replaced
    // (sharing reading and writing only) until msiexec ends. A log that
    // cannot be made so is left out.
    const bool msiexec = package.start == InstallerStart::SystemMsiexec;
    const std::wstring& name = package.location.name;
    const OwnedFile installerLog(msiexec && !package.installerLog.empty()
                                     ? CreateNewFile(package.installerLog, FILE_READ_ATTRIBUTES,
                                                     FILE_SHARE_READ | FILE_SHARE_WRITE,
                                                     FileOpeners::AdministratorsAndUser)
                                     : INVALID_HANDLE_VALUE);
    // The installer opens files by name, and the program holds files: it
    // names them where they are, so that no folder of the working folder's
    // path or of %TEMP% turned into a link since their hold leads elsewhere.
    const std::wstring packagePath = FinalPathOf(held.handle());
    const DWORD pathError = packagePath.empty() ? ::GetLastError() : ERROR_SUCCESS;
    const std::wstring logPath = installerLog.IsOpen() ? FinalPathOf(installerLog.get()) : std::wstring();
    // The install command passes through the thread's ANSI code page on its way.
    std::wstring command =
        msiexec ? MsiexecCommand(packagePath, choices, logPath) : ThroughThreadAnsi(package.installCommand);
    if (!msiexec && choices.suppressRestart)
        command = WithRestartSuppressed(command, name);

    Launch launch{false, exit_codes::kProgramRefused};
    // With pinned publishers, the signed package is all the build vouches
    // for: nothing but msiexec installing it may run.
    const bool narrowed = !msiexec && !choices.packageSigners.empty();
    const std::optional<std::wstring> program =
        packagePath.empty() || (narrowed && !InstallsOnlyThePackage(command, name))
            ? std::nullopt
            : ProgramPath(command, name, packagePath);
    if (!msiexec)
        command = WithPackagePath(command, name, packagePath);
    host.Note(L"Starting " + command);
    if (packagePath.empty())
        launch.code = pathError != ERROR_SUCCESS ? pathError : ERROR_FILE_NOT_FOUND;
    else if (!program && narrowed)
        host.Note(L"The install command is refused: this build runs only the system's msiexec installing the "
                  L"signed package (/i " + name + L"), with switches and NAME=value properties");
    else if (!program)
        host.Note(L"The install command's program is refused: a relative path with a folder in it, or an "
                  L"unquoted path that does not end in .exe, would let files of the working folder decide "
                  L"what runs");
    OtherInstallationWaits waits;
    bool cancelled = false;
    while (program && !cancelled) {
        // Unattended, an installer waits for one that runs already, and is
        // started again when it answers that one runs, until the time is up.
        while (choices.unattended && !cancelled && OtherInstallationRuns() && !waits.OutOfTime())
            cancelled = !AwaitOtherInstallation(host, waits.NextWaitMs(), L"Another installation is in progress");
        if (cancelled)
            break;
        launch = StartProgram(*program, command, !(msiexec && choices.agentLaunch == AgentLaunch::MsiexecFull));
        if (!choices.unattended || !launch.started || launch.code != exit_codes::kAlreadyRunning ||
            waits.OutOfTime())
            break;
        cancelled = !AwaitOtherInstallation(host, waits.NextWaitMs(),
                                            L"The installer answered 1618: another installation is in progress");
    }
    if (cancelled)
        return std::nullopt;
    // A launch that failed reports its system error in the exit code's place.
    if (launch.started)
        host.Note(L"The installer ended with exit code " + std::to_wstring(launch.code) + L" after " +
                  std::to_wstring(::GetTickCount64() - startedMs) + L" ms");
    else if (launch.code != exit_codes::kProgramRefused)
        host.Note(ErrorNote(L"The installer could not be started", launch.code));
    return launch.code;
}
