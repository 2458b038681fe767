// Running a downloaded package and turning its exit code into the outcome.
#include <objbase.h>
#include <shellapi.h>

#include <vector>

#include "ansi_text.h"
#include "build_config.h"
#include "install_sequence.h"
#include "vta_agent_download_managerDlg.h"

namespace {

// Opens the package through its shell association and waits for the process
// the shell started. When the shell hands the file to an already running
// program there is no process to wait for, and the exit code stays 0.
DWORD OpenThroughShell(const std::wstring& file)
{
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS;
    info.lpVerb = L"open";
    info.lpFile = file.c_str();
    info.nShow = SW_SHOWNORMAL;

    DWORD exitCode = 0;
    if (!::ShellExecuteExW(&info)) {
        exitCode = ::GetLastError();
    } else if (info.hProcess) {
        ::WaitForSingleObject(info.hProcess, INFINITE);
        ::GetExitCodeProcess(info.hProcess, &exitCode);
        ::CloseHandle(info.hProcess);
    }
    ::CoUninitialize();
    return exitCode;
}

// Starts the install command without a console window and waits for it. The
// command passes through the thread's ANSI code page on its way.
DWORD StartWindowless(const std::wstring& command)
{
    std::wstring converted = FromThreadAnsi(ToThreadAnsi(command));
    std::vector<wchar_t> commandLine(converted.begin(), converted.end());
    commandLine.push_back(L'\0');

    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE,
                          CREATE_NO_WINDOW | NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup, &process))
        return ::GetLastError();

    ::CloseHandle(process.hThread);
    ::WaitForSingleObject(process.hProcess, INFINITE);
    DWORD exitCode = 0;
    ::GetExitCodeProcess(process.hProcess, &exitCode);
    ::CloseHandle(process.hProcess);
    return exitCode;
}

}  // namespace

DWORD InstallSequence::RunInstaller(PackageKind kind)
{
    ::Sleep(kLaunchPauseMs);
    const DWORD exitCode = kind == PackageKind::Agent ? OpenThroughShell(m_dialog.m_strAgentInstallerFile.str())
                                                      : StartWindowless(m_dialog.m_strPatchInstallCommand.str());
    Report(InstallerMessage(kind, exitCode));
    m_dialog.UpdateDownloadProgress(m_packageTotal, m_packageTotal);
    return exitCode;
}
