// One package download with all its attempts, from the request to the
// package held in place.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "download_outcome.h"
#include "download_report.h"
#include "held_package.h"
#include "package_transfer.h"
#include "retry_policy.h"
#include "sha256.h"

class TempDownloadFile;

// What a download is given besides its request.
struct DownloadSettings {
    // A bound on every wait for the network; nothing keeps WinINet's own.
    std::optional<DWORD> networkTimeoutMs;
    // Failures that pass (a cut connection, a busy host) are tried again
    // as this says, going on from the bytes kept where the host offers byte
    // ranges; a policy of one attempt tries nothing again.
    RetryPolicy retries{1, 0, 0, false};
    // The publishers whose packages may run: the SHA-256 of each allowed
    // signing certificate. Empty: packages are not checked.
    std::vector<Sha256Digest> packageSigners;
};

// A package copied from a file instead of downloaded: a layout's, with the
// SHA-256 (64 lower-case hex digits) its manifest gives.
struct PackageSource {
    std::wstring file;
    std::wstring sha256;
};

// Downloads one installer package over HTTP(S) into its local file, through a
// temporary file beside it that is moved into place only when the whole body
// is stored, then holds the package for its installer. Progress, notes and
// the outcome go to the report; the user's cancel request comes through the
// cancel event (auto-reset: a wait that sees it consumes it).
class PackageDownload {
public:
    PackageDownload(DownloadReport& report, HANDLE cancelEvent, DownloadSettings settings)
        : m_report(report), m_cancelEvent(cancelEvent), m_settings(std::move(settings))
    {
    }

    // Fetches `request` into `localFile`. The outcome is reported (Ended)
    // before this returns: for a failure after what was stored is written
    // out, and before that file is deleted.
    DownloadOutcome Run(TransferRequest request, const std::wstring& localFile);
    // Copies `source` into `localFile` as Run stores a download: through the
    // same temporary file, move, hold and publisher check, refusing a copy
    // whose digest is not the source's.
    DownloadOutcome Copy(const PackageSource& source, const std::wstring& localFile);

    // The failure's exit code (download_exit_codes.h); 0 after a completed download.
    DWORD ExitCode() const { return m_exitCode; }
    // The package's size: its Content-Length, or the bytes received when the
    // server sent none.
    LONGLONG Total() const { return m_total; }
    // The completed download's package, held from its move into place; the
    // caller keeps it until its installer has ended.
    HeldPackage TakeHeldPackage() { return std::move(m_held); }
    // The completed download's SHA-256, as its held file has it.
    const std::optional<Sha256Digest>& Digest() const { return m_digest; }

    // Holds the package once it is in place. Tests put a step before it, as
    // another process could.
    HoldPackageFunction m_pfnHoldPackage = &HeldPackage::Open;

private:
    // What a later attempt builds on: the bytes stored and, where the host
    // offers byte ranges, the validator to ask for the rest with.
    struct ResumePoint {
        LONGLONG kept = 0;
        std::optional<std::wstring> validator;
    };
    // A failed attempt, and how the download ends if it is not tried again.
    struct Failure {
        Failure(DownloadOutcome outcome_, DWORD exitCode_, bool discardFirst_ = false,
                std::optional<uint32_t> retryAfterSeconds_ = std::nullopt)
            : outcome(outcome_), exitCode(exitCode_), discardFirst(discardFirst_),
              retryAfterSeconds(retryAfterSeconds_)
        {
        }
        DownloadOutcome outcome;
        DWORD exitCode;
        // Cancellation and a damaged file: the temporary file goes before the
        // report. Otherwise it is written out before it and deleted after
        // (through its handle, which stays open until then).
        bool discardFirst;
        std::optional<uint32_t> retryAfterSeconds;
    };
    static const Failure kCancelled;

    bool CancelRequested();
    DownloadOutcome End(DownloadOutcome outcome, DWORD exitCode = 0);
    DownloadOutcome End(const Failure& failure, TempDownloadFile& file);
    // One request for the package, stored from `resume` on; nothing when the
    // whole body is stored.
    std::optional<Failure> Attempt(const TransferRequest& request, TempDownloadFile& file, ResumePoint& resume,
                                   bool cancelledBefore);
    std::optional<Failure> ReceiveBody(PackageTransfer& transfer, TempDownloadFile& file, LONGLONG& received);
    // Says why and when the next attempt comes, and waits for it; false when
    // the user cancelled meanwhile.
    bool AwaitRetry(const Failure& failure, int failedAttempt, const ResumePoint& resume);
    // Moves the stored body into place and holds it there; the outcome when
    // the download must end here instead, also when the body is not the one
    // `expectedSha256` (when given) names.
    std::optional<DownloadOutcome> StoreAndHold(TempDownloadFile& file, const std::wstring& localFile,
                                                const std::wstring& expectedSha256 = std::wstring());
    // The outcome after the body is stored: moved into place, held, checked.
    DownloadOutcome Finish(TempDownloadFile& file, const std::wstring& localFile,
                           const std::wstring& expectedSha256 = std::wstring());
    // When the build pins publishers, refuses the held package unless one of
    // them signed it.
    std::optional<DownloadOutcome> VerifyPublisher();

    DownloadReport& m_report;
    HANDLE m_cancelEvent;
    const DownloadSettings m_settings;
    LONGLONG m_total = 0;
    // The furthest the progress has been shown: an attempt that starts over
    // shows nothing until it passes it, so no bar goes back.
    LONGLONG m_progressShown = 0;
    DWORD m_exitCode = 0;
    HeldPackage m_held;
    std::optional<Sha256Digest> m_digest;
};
