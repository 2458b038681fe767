#include "install_sequence.h"

#include "resource.h"
#include "vta_agent_download_managerDlg.h"

namespace {
constexpr int kRetrievalAttempts = 3;
}

UINT InstallThreadProc(LPVOID dialog)
{
    return InstallSequence(*static_cast<Cvta_agent_download_managerDlg*>(dialog)).Run();
}

UINT InstallSequence::Run()
{
    m_dialog.AppendLog(L"Downloading VTA Agent Installer \r\n");
    m_dialog.SetStatusText(L"Downloading VTA Agent Installer");

    if (const auto ending = InstallPackage(PackageKind::Agent))
        return *ending;
    EnableButton(IDCANCEL, TRUE);

    if (!m_dialog.IsChecked(IDC_CHECK_PATCH_MANAGEMENT)) {
        EnableButton(IDOK, TRUE);
        return kCompleted;
    }

    m_dialog.AppendLog(L"Retrieving Patch Management download details.\r\n");
    m_dialog.SetStatusText(L"Retrieving Patch Management download details");
    for (int attempt = 1;; ++attempt) {
        if (m_dialog.RetrievePatchDownloadDetails()) {
            m_dialog.AppendLog(L"Retrieved Patch Management download details. \r\n");
            m_dialog.SetStatusText(L"Retrieved Patch Management download details");
            break;
        }
        if (attempt == kRetrievalAttempts) {
            m_dialog.AppendLog(L"Failed to retrieve Patch Management download details. \r\n");
            m_dialog.SetStatusText(L"Failed to retrieve Patch Management download details");
            return FinishWithFailure();
        }
        m_dialog.AppendLog(L"Error retrieving Patch Management download details. Retrying... \r\n");
        m_dialog.SetStatusText(L"Error retrieving Patch Management download details. Retrying...");
    }
    m_dialog.DerivePatchInstallerFile();

    m_dialog.SetStatusText(L"Downloading Patch Management Installer");
    m_dialog.AppendLog(L"Downloading Patch Management Installer. \r\n");
    if (const auto ending = InstallPackage(PackageKind::PatchManagement))
        return *ending;

    EnableButton(IDOK, TRUE);
    return kCompleted;
}

std::optional<UINT> InstallSequence::InstallPackage(PackageKind kind)
{
    const DownloadOutcome outcome = DownloadInstaller(kind);
    if (outcome == DownloadOutcome::Cancelled)
        return FinishWithCancel();
    // An installer's own messages are already shown; 1602 (the user left the
    // installer) is a failure, not a cancelled download.
    if (outcome != DownloadOutcome::Completed || RunInstaller(kind) != 0)
        return FinishWithFailure();
    return std::nullopt;
}

UINT InstallSequence::FinishWithFailure()
{
    m_dialog.SetProgressComplete();
    m_dialog.ShowDetails();
    EnableButton(IDOK, TRUE);
    EnableButton(IDCANCEL, FALSE);
    return kFailed;
}

UINT InstallSequence::FinishWithCancel()
{
    m_dialog.AppendLog(L"Download and installation processes aborted.\r\n");
    FinishWithFailure();
    return kCancelled;
}

bool InstallSequence::CancelRequested()
{
    // A signalled auto-reset event is consumed by the look.
    return m_dialog.m_cancelEvent.Lock(0);
}

void InstallSequence::EnableButton(int id, BOOL enable)
{
    m_dialog.GetDlgItem(id).EnableWindow(enable);
}

void InstallSequence::Report(const OutcomeMessage& message)
{
    m_dialog.SetStatusText(message.status);
    m_dialog.AppendLog(message.log.c_str());
}

DownloadOutcome InstallSequence::Report(PackageKind kind, DownloadOutcome outcome)
{
    Report(DownloadMessage(kind, outcome));
    return outcome;
}
