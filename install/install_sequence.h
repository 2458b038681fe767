#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "held_package.h"
#include "installation_files.h"
#include "installation_host.h"
#include "installation_options.h"
#include "outcome_messages.h"
#include "package_kind.h"
#include "run_result.h"

class PackageTransfer;
class TempDownloadFile;

// The installation run: download and install the agent, then, when Patch
// Management is selected, fetch its download details, download and install
// it. Every step reports to the host as it goes, and the run ends with the
// host's RunEnded.
class InstallSequence {
public:
    InstallSequence(InstallationHost& host, InstallationFiles& files, const InstallationOptions& options)
        : m_host(host), m_files(files), m_options(options)
    {
    }

    RunResult Run();

    // Holds a downloaded package from its move into place to its installer's
    // end. Tests put a step before it, as another process could.
    HeldPackage (*m_pfnHoldPackage)(const std::wstring& name) = &HeldPackage::Open;

private:
    RunResult RunSteps();
    // Downloads and runs one package; the run's result when it must end there.
    std::optional<RunResult> InstallPackage(PackageKind kind);
    DownloadOutcome DownloadInstaller(PackageKind kind);
    DWORD RunInstaller(PackageKind kind);
    RunResult Completed();
    RunResult FinishWithFailure(DWORD exitCode);
    RunResult FinishWithCancel();

    bool CancelRequested();
    // Status line first, then the log line.
    void Report(const OutcomeMessage& message);
    // Reports a download's outcome; a failure's exit code is remembered for
    // the run's ending.
    DownloadOutcome Report(PackageKind kind, DownloadOutcome outcome, DWORD exitCode = 0);
    DownloadOutcome ReportAndDiscard(PackageKind kind, DownloadOutcome outcome, DWORD exitCode, TempDownloadFile& file);
    DownloadOutcome DiscardAndReport(PackageKind kind, DownloadOutcome outcome, DWORD exitCode, TempDownloadFile& file);
    DownloadOutcome Cancel(PackageKind kind, TempDownloadFile& file);
    std::optional<DownloadOutcome> ReceiveBody(PackageKind kind, PackageTransfer& transfer, TempDownloadFile& file);
    // Moves the stored body into place and holds it there; the download's
    // outcome when it must end here instead.
    std::optional<DownloadOutcome> StoreAndHold(PackageKind kind, TempDownloadFile& file, const std::wstring& localFile);
    // When the build pins publishers, refuses the held package unless one of
    // them signed it.
    std::optional<DownloadOutcome> VerifyPublisher(PackageKind kind);
    // A failure's system error, with its text, for the log file.
    void NoteError(const std::wstring& what, DWORD error);

    InstallationHost& m_host;
    InstallationFiles& m_files;
    const InstallationOptions& m_options;
    // Total of the last download, from its Content-Length, or the bytes
    // received when the server sent none; the installation step reports it.
    LONGLONG m_packageTotal = 0;
    DWORD m_downloadExitCode = 0;
    // The last downloaded package, held until its installer has ended.
    HeldPackage m_heldPackage;
};
