#include "install_sequence.h"

#include "error_text.h"
#include "exit_codes.h"

namespace {
constexpr int kRetrievalAttempts = 3;
}

RunResult InstallSequence::Run()
{
    const RunResult result = RunSteps();
    m_host.RunEnded(result);
    return result;
}

RunResult InstallSequence::RunSteps()
{
    m_host.AppendLog(L"Downloading VTA Agent Installer \r\n");
    m_host.SetStatusText(L"Downloading VTA Agent Installer");

    if (const auto ending = InstallPackage(PackageKind::Agent))
        return *ending;
    m_host.EnableButton(IDCANCEL, TRUE);

    if (!m_host.PatchManagementSelected())
        return Completed();

    m_host.AppendLog(L"Retrieving Patch Management download details.\r\n");
    m_host.SetStatusText(L"Retrieving Patch Management download details");
    for (int attempt = 1;; ++attempt) {
        const ULONGLONG startedMs = ::GetTickCount64();
        if (m_files.RetrievePatchDownloadDetails(m_options.networkTimeoutMs, m_options.proxy)) {
            m_host.Note(L"The web service answered in " + std::to_wstring(::GetTickCount64() - startedMs) +
                        L" ms: URL " + m_files.m_strPatchDownloadUrl.str() + L", command " +
                        m_files.m_strPatchInstallCommand.str());
            m_host.AppendLog(L"Retrieved Patch Management download details. \r\n");
            m_host.SetStatusText(L"Retrieved Patch Management download details");
            break;
        }
        const DWORD error = ::GetLastError();
        if (error == ERROR_SUCCESS)
            m_host.Note(L"The web service's answer held no download details");
        else
            NoteError(L"Retrieving the download details failed", error);
        if (attempt == kRetrievalAttempts) {
            m_host.AppendLog(L"Failed to retrieve Patch Management download details. \r\n");
            m_host.SetStatusText(L"Failed to retrieve Patch Management download details");
            return FinishWithFailure(exit_codes::CausedBy(error, exit_codes::kDetailsRefused));
        }
        m_host.AppendLog(L"Error retrieving Patch Management download details. Retrying... \r\n");
        m_host.SetStatusText(L"Error retrieving Patch Management download details. Retrying...");
        // 1 s, then 2 s: a service that is busy gets a moment.
        if (m_options.retryPassingFailures)
            ::Sleep(attempt * 1000);
    }
    m_files.DerivePatchInstallerFile();

    m_host.SetStatusText(L"Downloading Patch Management Installer");
    m_host.AppendLog(L"Downloading Patch Management Installer. \r\n");
    if (const auto ending = InstallPackage(PackageKind::PatchManagement))
        return *ending;
    return Completed();
}

std::optional<RunResult> InstallSequence::InstallPackage(PackageKind kind)
{
    const DownloadOutcome outcome = DownloadInstaller(kind);
    if (outcome == DownloadOutcome::Cancelled)
        return FinishWithCancel();
    if (outcome != DownloadOutcome::Completed)
        return FinishWithFailure(m_downloadExitCode);
    // An installer's own messages are already shown; 1602 (the user left the
    // installer) is a failure, not a cancelled download.
    const std::optional<DWORD> exitCode = RunInstaller(kind);
    if (!exitCode)
        return FinishWithCancel();
    if (*exitCode == exit_codes::kSuccess)
        return std::nullopt;
    // Deployment tools read 3010 as installed with a restart pending, and
    // 1641 as a restart under way: nothing more may start then.
    if (m_options.unattended && *exitCode == exit_codes::kRestartRequired) {
        m_restartRequired = true;
        return std::nullopt;
    }
    if (m_options.unattended && *exitCode == exit_codes::kRestartStarted)
        return RunResult{RunResult::kCompleted, exit_codes::kRestartStarted};
    return FinishWithFailure(*exitCode);
}

RunResult InstallSequence::Completed()
{
    return {RunResult::kCompleted, m_restartRequired ? exit_codes::kRestartRequired : exit_codes::kSuccess};
}

RunResult InstallSequence::FinishWithFailure(DWORD exitCode)
{
    m_host.SetProgressComplete();
    m_host.ShowDetails();
    // Cancel goes first: the run's ending (RunEnded) is what enables OK.
    m_host.EnableButton(IDCANCEL, FALSE);
    return {RunResult::kFailed, exitCode};
}

RunResult InstallSequence::FinishWithCancel()
{
    m_host.AppendLog(L"Download and installation processes aborted.\r\n");
    FinishWithFailure(exit_codes::kUserCancelled);
    return {RunResult::kCancelled, exit_codes::kUserCancelled};
}

bool InstallSequence::CancelRequested()
{
    // A signalled auto-reset event is consumed by the look.
    return ::WaitForSingleObject(m_host.CancelEvent(), 0) == WAIT_OBJECT_0;
}

void InstallSequence::Report(const OutcomeMessage& message)
{
    m_host.SetStatusText(message.status);
    m_host.AppendLog(message.log.c_str());
}

DownloadOutcome InstallSequence::Report(PackageKind kind, DownloadOutcome outcome, DWORD exitCode)
{
    m_downloadExitCode = exitCode;
    Report(DownloadMessage(kind, outcome));
    return outcome;
}

void InstallSequence::NoteError(const std::wstring& what, DWORD error)
{
    m_host.Note(what + L": " + ErrorText(error));
}
