// Downloading one installer package over HTTPS into its local file, through a
// temporary file that is moved into place only when the whole body is stored.
// In the unattended modes, a failure that passes is tried again, going on
// from the bytes kept where the host offers byte ranges.
#include <windows.h>
#include <wininet.h>

#include <optional>
#include <random>
#include <string>

#include "build_config.h"
#include "download_retry.h"
#include "download_text.h"
#include "exit_codes.h"
#include "install_sequence.h"
#include "package_publisher.h"
#include "package_transfer.h"
#include "progress_pacing.h"
#include "temp_download_file.h"
#include "windows_bitness.h"

namespace {

std::wstring AgentPackageUrl(bool windows64Bit)
{
    return std::wstring(L"https://") + kDownloadHost +
           (windows64Bit ? L"/vta/vta-agent-x64.msi" : L"/vta/vta-agent-x86.msi");
}

DWORD FileErrorCode(const TempDownloadFile& file)
{
    return exit_codes::CausedBy(file.Error(), exit_codes::kLocalFileFailed);
}

bool IsSuccessStatus(const std::wstring& status)
{
    const int64_t code = ParseContentLength(status);
    return code >= 200 && code <= 299;
}

}  // namespace

const InstallSequence::DownloadFailure InstallSequence::kCancelled{DownloadOutcome::Cancelled,
                                                                   exit_codes::kUserCancelled, true};

DownloadOutcome InstallSequence::EndDownload(PackageKind kind, const DownloadFailure& failure, TempDownloadFile& file)
{
    if (failure.discardFirst) {
        file.Discard();
        return Report(kind, failure.outcome, failure.exitCode);
    }
    file.Flush();
    Report(kind, failure.outcome, failure.exitCode);
    file.Discard();
    return failure.outcome;
}

// Stores the body in the temporary file as it arrives, after the `received`
// bytes already there, reporting progress; why the attempt ends here when it
// does.
std::optional<InstallSequence::DownloadFailure> InstallSequence::ReceiveBody(PackageTransfer& transfer,
                                                                             TempDownloadFile& file,
                                                                             LONGLONG& received)
{
    const bool totalKnown = m_packageTotal > 0;
    ProgressPacing pacing;
    const LONGLONG startedAt = received;
    ULONGLONG lastArrivalMs = ::GetTickCount64();
    TransferBody body;
    do {
        if (transfer.AwaitBody(m_host.CancelEvent(), ProgressPacing::kReportIntervalMs, body) ==
            TransferWait::Cancelled)
            return kCancelled;
        const ULONGLONG now = ::GetTickCount64();
        if (body.bytes.empty()) {
            if (m_options.networkTimeoutMs && !body.finished && now - lastArrivalMs >= *m_options.networkTimeoutMs) {
                m_host.Note(L"No data for " + std::to_wstring(*m_options.networkTimeoutMs) + L" ms");
                return DownloadFailure{DownloadOutcome::ReadFailed, ERROR_INTERNET_TIMEOUT};
            }
            continue;
        }
        lastArrivalMs = now;
        if (!file.Write(body.bytes.data(), body.bytes.size()))
            return DownloadFailure{DownloadOutcome::RenameFailed, FileErrorCode(file), true};
        received += static_cast<LONGLONG>(body.bytes.size());
        // Equal counts are left to the installation step's final report.
        if (totalKnown && received != m_packageTotal && received >= m_progressShown && pacing.ShouldReport(now)) {
            m_host.UpdateDownloadProgress(received, m_packageTotal);
            m_progressShown = received;
        }
    } while (!body.finished);

    m_host.Note(L"Received " + std::to_wstring(received - startedAt) + L" bytes");
    if (body.failed) {
        NoteError(L"Reading the body failed", body.error);
        return DownloadFailure{DownloadOutcome::ReadFailed, exit_codes::CausedBy(body.error, exit_codes::kReadFailed)};
    }
    // The request may have come with the last bytes.
    if (CancelRequested())
        return kCancelled;
    // A connection closed before the announced length is a failed read, not
    // a smaller package.
    if (totalKnown && received < m_packageTotal)
        return DownloadFailure{DownloadOutcome::ReadFailed, exit_codes::kReadFailed};
    if (!totalKnown)
        m_packageTotal = received;
    return std::nullopt;
}

std::optional<InstallSequence::DownloadFailure> InstallSequence::DownloadAttempt(const TransferRequest& request,
                                                                                 TempDownloadFile& file,
                                                                                 ResumePoint& resume,
                                                                                 bool cancelledBefore)
{
    const bool resuming = resume.kept > 0 && resume.validator;
    if (resume.kept > 0 && !resuming) {
        if (!file.Restart())
            return DownloadFailure{DownloadOutcome::RenameFailed, FileErrorCode(file), true};
        resume.kept = 0;
    }
    TransferRequest attempt = request;
    if (resuming) {
        attempt.headers =
            L"Range: bytes=" + std::to_wstring(resume.kept) + L"-\r\nIf-Range: " + *resume.validator + L"\r\n";
        m_host.Note(L"Requesting " + request.url + L" from byte " + std::to_wstring(resume.kept));
    } else {
        m_host.Note(L"Requesting " + request.url);
    }
    PackageTransfer transfer(std::move(attempt));
    if (!transfer.Started())
        return DownloadFailure{DownloadOutcome::OpenFailed,
                               exit_codes::CausedBy(transfer.StartError(), exit_codes::kOpenFailed)};

    TransferResponse response;
    switch (transfer.AwaitResponse(m_host.CancelEvent(), m_options.networkTimeoutMs, response)) {
    case TransferWait::Cancelled:
        return kCancelled;
    case TransferWait::TimedOut:
        return DownloadFailure{DownloadOutcome::OpenFailed, ERROR_INTERNET_TIMEOUT};
    case TransferWait::Ready:
        break;
    }
    if (!response.opened) {
        NoteError(L"Opening the URL failed", response.error);
        return DownloadFailure{DownloadOutcome::OpenFailed,
                               exit_codes::CausedBy(response.error, exit_codes::kOpenFailed)};
    }

    m_host.Note(L"HTTP status " + response.status.value_or(L"(none)") + L", Content-Length " +
                response.contentLength.value_or(L"(none)") +
                (response.contentRange ? L", Content-Range " + *response.contentRange : std::wstring()));
    if (resuming) {
        const bool continues = response.status == L"206" &&
                               download_retry::ContinuesBody(response.contentRange.value_or(L""), resume.kept,
                                                             m_packageTotal);
        // A 200 brings the whole body, perhaps changed; an answer that does
        // not continue what is kept is asked again from the start.
        if (!continues) {
            if (!file.Restart())
                return DownloadFailure{DownloadOutcome::RenameFailed, FileErrorCode(file), true};
            resume = {};
            if (response.status != L"200") {
                m_host.Note(L"The host did not continue the body: starting over");
                return DownloadAttempt(request, file, resume, false);
            }
        }
    }
    // Anything but a success status is a failure: an error page must never
    // be stored and run as the package.
    if (response.status && !IsSuccessStatus(*response.status)) {
        const std::wstring& status = *response.status;
        const DownloadOutcome outcome = status == L"404"   ? DownloadOutcome::NotFound
                                        : status == L"500" ? DownloadOutcome::ServerError
                                                           : DownloadOutcome::OpenFailed;
        const auto code = static_cast<DWORD>(exit_codes::kHttpStatusBase + ParseContentLength(status));
        return DownloadFailure{outcome, code, false, response.retryAfterSeconds};
    }

    if (resume.kept == 0)
        m_packageTotal = ParseContentLength(response.contentLength.value_or(L""));
    resume.validator = download_retry::ResumeValidator(response.acceptRanges, response.etag, response.lastModified);
    if (cancelledBefore || CancelRequested())
        return kCancelled;
    return ReceiveBody(transfer, file, resume.kept);
}

bool InstallSequence::AwaitRetry(const DownloadFailure& failure, int failedAttempt, const ResumePoint& resume)
{
    // Seeded apart on each machine and run, so that machines cut at once do
    // not return at once.
    static std::minstd_rand jitterSource(static_cast<unsigned>(::GetTickCount64() ^ ::GetCurrentProcessId()));
    const double jitter = std::uniform_real_distribution<double>(0.0, 1.0)(jitterSource);
    const DWORD waitMs = download_retry::WaitMs(failedAttempt, jitter, failure.retryAfterSeconds);
    const bool resumes = resume.kept > 0 && resume.validator;
    m_host.AppendLog((download_retry::RetryLine(failure.exitCode, resume.kept, m_packageTotal, waitMs,
                                                failedAttempt + 1, resumes) +
                      L"\r\n")
                         .c_str());
    return ::WaitForSingleObject(m_host.CancelEvent(), waitMs) != WAIT_OBJECT_0;
}

DownloadOutcome InstallSequence::DownloadInstaller(PackageKind kind)
{
    const bool agent = kind == PackageKind::Agent;
    // A request made before this download began (during the details
    // retrieval) is seen where a first poll would see it: after the answer's
    // status, before the first read. One made while the host is silent ends
    // the wait at once.
    const bool cancelledBefore = CancelRequested();
    const ULONGLONG startedMs = ::GetTickCount64();

    TransferRequest request;
    request.proxy = agent ? m_host.AgentProxy() : AddressOf(m_options.proxy);
    request.url = agent ? AgentPackageUrl(RunningOn64BitWindows()) : m_files.m_strPatchDownloadUrl.str();
    // The service names the Patch Management URL: only a web address is
    // fetched, and always over TLS.
    request.openFlags = agent ? 0 : INTERNET_FLAG_SECURE;
    request.openFlags |= INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE;
    request.retryUnknownAuthority = !agent;
    request.timeoutMs = m_options.networkTimeoutMs;
    if (!IsWebUrl(request.url))
        return Report(kind, DownloadOutcome::OpenFailed, exit_codes::kUrlRefused);

    // A command without a package name leaves none: never write a file
    // called "temp" over whatever has that name.
    const std::wstring localFile = (agent ? m_files.m_strAgentInstallerFile : m_files.m_strPatchInstallerFile).str();
    if (localFile.empty())
        return Report(kind, DownloadOutcome::RenameFailed, exit_codes::kLocalFileFailed);
    TempDownloadFile file(localFile + L"temp");
    if (!file.IsOpen())
        return Report(kind, DownloadOutcome::FileCreateFailed, FileErrorCode(file));
    if (request.proxy)
        request.proxyCredentials = agent ? m_host.AgentProxyCredentials() : m_options.proxy->credentials;

    m_packageTotal = 0;
    m_progressShown = 0;
    ResumePoint resume;
    const int attempts = m_options.retryPassingFailures ? download_retry::kAttempts : 1;
    for (int attempt = 1;; ++attempt) {
        const std::optional<DownloadFailure> failure =
            DownloadAttempt(request, file, resume, cancelledBefore && attempt == 1);
        if (!failure)
            break;
        if (attempt == attempts || !download_retry::IsPassing(failure->exitCode))
            return EndDownload(kind, *failure, file);
        if (!AwaitRetry(*failure, attempt, resume))
            return EndDownload(kind, kCancelled, file);
    }
    m_host.Note(L"The download took " + std::to_wstring(::GetTickCount64() - startedMs) + L" ms");
    if (const auto ending = StoreAndHold(kind, file, localFile))
        return *ending;
    if (const auto ending = VerifyPublisher(kind))
        return *ending;
    return Report(kind, DownloadOutcome::Completed);
}

std::optional<DownloadOutcome> InstallSequence::StoreAndHold(PackageKind kind, TempDownloadFile& file,
                                                             const std::wstring& localFile)
{
    if (!file.Flush())
        return EndDownload(kind, {DownloadOutcome::RenameFailed, FileErrorCode(file), true}, file);
    const std::optional<Sha256Digest> received = file.Digest();
    if (!file.MoveTo(localFile)) {
        // The temporary file stays.
        file.Close();
        return Report(kind, DownloadOutcome::RenameFailed, FileErrorCode(file));
    }
    m_host.EnableButton(IDCANCEL, FALSE);

    // ORDER IS LOAD-BEARING: the file is locked by its writing handle until
    // Close, and an installer cannot open a file that a writer holds. The
    // read-only hold must follow at once; what another process may have done
    // in between shows in the digest of the held file.
    const ULONGLONG startedMs = ::GetTickCount64();
    file.Close();
    m_heldPackage = file.Identity() ? m_pfnHoldPackage(localFile, *file.Identity()) : HeldPackage();
    const std::optional<Sha256Digest> held =
        m_heldPackage.IsHeld() ? Sha256OfFile(m_heldPackage.handle()) : std::nullopt;
    if (!m_heldPackage.IsHeld())
        NoteError(L"The package could not be held for its installer", m_heldPackage.Error());
    if (!received || !held || *held != *received) {
        // It is not ours any more: it stays as it is, and nothing runs it.
        m_heldPackage.Release();
        m_host.Note(L"The package changed on disk before its installer started");
        return Report(kind, DownloadOutcome::ReadFailed, exit_codes::kPackageChanged);
    }
    m_host.Note(L"The package is held for its installer; its SHA-256 " + HexText(*held) +
                L" is the one received (checked in " + std::to_wstring(::GetTickCount64() - startedMs) + L" ms)");
    return std::nullopt;
}

std::optional<DownloadOutcome> InstallSequence::VerifyPublisher(PackageKind kind)
{
    if (m_options.packageSigners.empty())
        return std::nullopt;
    const PublisherCheck publisher = CheckPublisher(m_heldPackage, m_options.packageSigners);
    m_host.Note(publisher.finding);
    if (!publisher.accepted) {
        m_heldPackage.Release();
        return Report(kind, DownloadOutcome::PublisherRefused, exit_codes::kPackageNotSigned);
    }
    return std::nullopt;
}
