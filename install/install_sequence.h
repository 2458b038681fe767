#pragma once

#include <windows.h>

#include <optional>

#include "outcome_messages.h"
#include "package_kind.h"

class Cvta_agent_download_managerDlg;
class TempDownloadFile;

// The worker thread: its only parameter is the dialog. Returns 1 when the
// sequence completed, 0xFFFFFFFF when the user cancelled a download, 0
// otherwise.
UINT InstallThreadProc(LPVOID dialog);

// The installation run on the worker thread: download and install the agent,
// then, when Patch Management is selected, fetch its download details,
// download and install it. Every step reports to the dialog as it goes.
class InstallSequence {
public:
    static constexpr UINT kCompleted = 1;
    static constexpr UINT kFailed = 0;
    static constexpr UINT kCancelled = 0xFFFFFFFF;

    explicit InstallSequence(Cvta_agent_download_managerDlg& dialog) : m_dialog(dialog) {}

    UINT Run();

private:
    // Downloads and runs one package; the sequence's result when it must end.
    std::optional<UINT> InstallPackage(PackageKind kind);
    DownloadOutcome DownloadInstaller(PackageKind kind);
    DWORD RunInstaller(PackageKind kind);
    UINT FinishWithFailure();
    UINT FinishWithCancel();

    bool CancelRequested();
    void EnableButton(int id, BOOL enable);
    // Status line first, then the log line.
    void Report(const OutcomeMessage& message);
    DownloadOutcome Report(PackageKind kind, DownloadOutcome outcome);
    DownloadOutcome ReportAndDiscard(PackageKind kind, DownloadOutcome outcome, TempDownloadFile& file);

    Cvta_agent_download_managerDlg& m_dialog;
    // Total of the last download, from its Content-Length, or the bytes
    // received when the server sent none; the installation step reports it.
    LONGLONG m_packageTotal = 0;
};
