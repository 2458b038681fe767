#pragma once

#include <windows.h>

#include <cstdint>
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
struct TransferRequest;

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
    HeldPackage (*m_pfnHoldPackage)(const std::wstring& name, const FileIdentity& written) = &HeldPackage::Open;

private:
    // What a later attempt of a download builds on: the bytes stored and,
    // where the host offers byte ranges, the validator to ask for the rest with.
    struct ResumePoint {
        LONGLONG kept = 0;
        std::optional<std::wstring> validator;
    };
    // A failed download attempt, and how the download ends if it is not tried again.
    struct DownloadFailure {
        DownloadFailure(DownloadOutcome outcome_, DWORD exitCode_, bool discardFirst_ = false,
                        std::optional<uint32_t> retryAfterSeconds_ = std::nullopt)
            : outcome(outcome_), exitCode(exitCode_), discardFirst(discardFirst_),
              retryAfterSeconds(retryAfterSeconds_)
        {
        }
        DownloadOutcome outcome;
        DWORD exitCode;
        // Cancellation and a damaged file: the temporary file goes before the
        // messages. Otherwise it is written out before them and deleted after
        // (through its handle, which stays open until then).
        bool discardFirst;
        std::optional<uint32_t> retryAfterSeconds;
    };
    static const DownloadFailure kCancelled;

    RunResult RunSteps();
    // Downloads and runs one package; the run's result when it must end there.
    std::optional<RunResult> InstallPackage(PackageKind kind);
    DownloadOutcome DownloadInstaller(PackageKind kind);
    // The installer's exit code; nothing when the user cancelled while it
    // waited for another installation to end.
    std::optional<DWORD> RunInstaller(PackageKind kind);
    // Says why and how long the installer waits, and waits; false when the
    // user cancelled meanwhile.
    bool AwaitOtherInstallation(DWORD waitMs, const wchar_t* why);
    RunResult Completed();
    RunResult FinishWithFailure(DWORD exitCode);
    RunResult FinishWithCancel();

    bool CancelRequested();
    // Status line first, then the log line.
    void Report(const OutcomeMessage& message);
    // Reports a download's outcome; a failure's exit code is remembered for
    // the run's ending.
    DownloadOutcome Report(PackageKind kind, DownloadOutcome outcome, DWORD exitCode = 0);
    DownloadOutcome EndDownload(PackageKind kind, const DownloadFailure& failure, TempDownloadFile& file);
    // One request for the package, stored from `resume` on; nothing when the
    // whole body is stored.
    std::optional<DownloadFailure> DownloadAttempt(const TransferRequest& request, TempDownloadFile& file,
                                                   ResumePoint& resume, bool cancelledBefore);
    std::optional<DownloadFailure> ReceiveBody(PackageTransfer& transfer, TempDownloadFile& file, LONGLONG& received);
    // Says why and when the next attempt comes, and waits for it; false when
    // the user cancelled meanwhile.
    bool AwaitRetry(const DownloadFailure& failure, int failedAttempt, const ResumePoint& resume);
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
    // The furthest the download's progress has been shown: an attempt that
    // starts over shows nothing until it passes it, so no bar goes back.
    LONGLONG m_progressShown = 0;
    DWORD m_downloadExitCode = 0;
    // An installer of this run succeeded and asked for a restart (3010).
    bool m_restartRequired = false;
    // The last downloaded package, held until its installer has ended.
    HeldPackage m_heldPackage;
};
