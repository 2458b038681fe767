// One package download: its attempts, the transfer's answer and body, the
// waits between attempts, and the package's move into place and hold.
#include "package_download.h"

#include <wininet.h>

#include <random>

#include "cancellable_wait.h"
#include "download_exit_codes.h"
#include "download_retry.h"
#include "download_text.h"
#include "error_text.h"
#include "package_publisher.h"
#include "progress_pacing.h"
#include "temp_download_file.h"

namespace {

DWORD FileErrorCode(const TempDownloadFile& file)
{
    return exit_codes::CausedBy(file.Error(), exit_codes::kLocalFileFailed);
}

// An answer that is not stored: a failure status keeps its code, so that
// one that may pass (a proxy's 503 too) is tried again; an answer that claims
// success without coming over TLS from the host has a code of its own.
uint32_t RefusedAnswerCode(const TransferResponse& response)
{
    const int64_t status = ParseContentLength(response.status.value_or(L""));
    if (status >= 400)
        return static_cast<uint32_t>(exit_codes::kHttpStatusBase + status);
    if (!response.fromHost)
        return exit_codes::kAnswerNotFromHost;
    return status > 0 ? static_cast<uint32_t>(exit_codes::kHttpStatusBase + status) : exit_codes::kOpenFailed;
}

}  // namespace

const PackageDownload::Failure PackageDownload::kCancelled{DownloadOutcome::Cancelled, exit_codes::kUserCancelled,
                                                           true};

bool PackageDownload::CancelRequested()
{
    return ::WaitForSingleObject(m_cancelEvent, 0) == WAIT_OBJECT_0;
}

DownloadOutcome PackageDownload::End(DownloadOutcome outcome, DWORD exitCode)
{
    m_exitCode = exitCode;
    m_report.Ended(outcome);
    return outcome;
}

DownloadOutcome PackageDownload::End(const Failure& failure, TempDownloadFile& file)
{
    if (failure.discardFirst) {
        file.Discard();
        return End(failure.outcome, failure.exitCode);
    }
    file.Flush();
    End(failure.outcome, failure.exitCode);
    file.Discard();
    return failure.outcome;
}

// Stores the body in the temporary file as it arrives, after the `received`
// bytes already there, reporting progress; why the attempt ends here when it
// does.
std::optional<PackageDownload::Failure> PackageDownload::ReceiveBody(PackageTransfer& transfer, TempDownloadFile& file,
                                                                    LONGLONG& received)
{
    const bool totalKnown = m_total > 0;
    ProgressPacing pacing;
    const LONGLONG startedAt = received;
    ULONGLONG lastArrivalMs = ::GetTickCount64();
    TransferBody body;
    do {
        if (transfer.AwaitBody(m_cancelEvent, ProgressPacing::kReportIntervalMs, body) ==
            TransferWait::Cancelled)
            return kCancelled;
        const ULONGLONG now = ::GetTickCount64();
        if (body.bytes.empty()) {
            if (m_settings.networkTimeoutMs && !body.finished && now - lastArrivalMs >= *m_settings.networkTimeoutMs) {
                m_report.Note(L"No data for " + std::to_wstring(*m_settings.networkTimeoutMs) + L" ms");
                return Failure{DownloadOutcome::ReadFailed, ERROR_INTERNET_TIMEOUT};
            }
            continue;
        }
        lastArrivalMs = now;
        if (!file.Write(body.bytes.data(), body.bytes.size()))
            return Failure{DownloadOutcome::RenameFailed, FileErrorCode(file), true};
        received += static_cast<LONGLONG>(body.bytes.size());
        // Equal counts are left to the installation step's final report.
        if (totalKnown && received != m_total && received >= m_progressShown && pacing.ShouldReport(now)) {
            m_report.UpdateProgress(received, m_total);
            m_progressShown = received;
        }
    } while (!body.finished);

    m_report.Note(L"Received " + std::to_wstring(received - startedAt) + L" bytes");
    if (body.failed) {
        m_report.Note(ErrorNote(L"Reading the body failed", body.error));
        return Failure{DownloadOutcome::ReadFailed, exit_codes::CausedBy(body.error, exit_codes::kReadFailed)};
    }
    // The request may have come with the last bytes.
    if (CancelRequested())
        return kCancelled;
    // A connection closed before the announced length is a failed read, not
    // a smaller package.
    if (totalKnown && received < m_total)
        return Failure{DownloadOutcome::ReadFailed, exit_codes::kReadFailed};
    if (!totalKnown)
        m_total = received;
    return std::nullopt;
}

std::optional<PackageDownload::Failure> PackageDownload::Attempt(const TransferRequest& request, TempDownloadFile& file,
                                                                ResumePoint& resume, bool cancelledBefore)
{
    const bool resuming = resume.kept > 0 && resume.validator;
    if (resume.kept > 0 && !resuming) {
        if (!file.Restart())
            return Failure{DownloadOutcome::RenameFailed, FileErrorCode(file), true};
        resume.kept = 0;
    }
    TransferRequest attempt = request;
    if (resuming) {
        attempt.headers =
            L"Range: bytes=" + std::to_wstring(resume.kept) + L"-\r\nIf-Range: " + *resume.validator + L"\r\n";
        m_report.Note(L"Requesting " + request.url + L" from byte " + std::to_wstring(resume.kept));
    } else {
        m_report.Note(L"Requesting " + request.url);
    }
    PackageTransfer transfer(std::move(attempt));
    if (!transfer.Started())
        return Failure{DownloadOutcome::OpenFailed,
                               exit_codes::CausedBy(transfer.StartError(), exit_codes::kOpenFailed)};

    TransferResponse response;
    switch (transfer.AwaitResponse(m_cancelEvent, m_settings.networkTimeoutMs, response)) {
    case TransferWait::Cancelled:
        return kCancelled;
    case TransferWait::TimedOut:
        return Failure{DownloadOutcome::OpenFailed, ERROR_INTERNET_TIMEOUT};
    case TransferWait::Ready:
        break;
    }
    for (const std::wstring& note : response.notes)
        m_report.Note(note);
    if (!response.opened) {
        m_report.Note(ErrorNote(L"Opening the URL failed", response.error));
        return Failure{DownloadOutcome::OpenFailed,
                               exit_codes::CausedBy(response.error, exit_codes::kOpenFailed)};
    }

    m_report.Note(L"HTTP status " + response.status.value_or(L"(none)") + L", Content-Length " +
                response.contentLength.value_or(L"(none)") +
                (response.contentRange ? L", Content-Range " + *response.contentRange : std::wstring()));
    bool continues = false;
    if (resuming && response.fromHost) {
        continues = response.status == L"206" &&
                    download_retry::ContinuesBody(response.contentRange.value_or(L""), resume.kept, m_total);
        // A 200 brings the whole body, perhaps changed; an answer that does
        // not continue what is kept is asked again from the start.
        if (!continues) {
            if (!file.Restart())
                return Failure{DownloadOutcome::RenameFailed, FileErrorCode(file), true};
            resume = {};
            if (response.status != L"200") {
                m_report.Note(L"The host did not continue the body: starting over");
                return Attempt(request, file, resume, false);
            }
        }
    }
    // Only the host's 200, or its 206 that continues the bytes kept, brings
    // the package: an error page, or a proxy's answer of any status, must
    // never be stored and run.
    if (!response.fromHost || !(response.status == L"200" || continues)) {
        const std::wstring status = response.status.value_or(L"");
        const DownloadOutcome outcome = !response.fromHost ? DownloadOutcome::OpenFailed
                                        : status == L"404" ? DownloadOutcome::NotFound
                                        : status == L"500" ? DownloadOutcome::ServerError
                                                           : DownloadOutcome::OpenFailed;
        // Only the host's Retry-After is waited for.
        return Failure{outcome, RefusedAnswerCode(response), false,
                       response.fromHost ? response.retryAfterSeconds : std::nullopt};
    }

    if (resume.kept == 0)
        m_total = ParseContentLength(response.contentLength.value_or(L""));
    resume.validator = download_retry::ResumeValidator(response.acceptRanges, response.etag, response.lastModified);
    if (cancelledBefore || CancelRequested())
        return kCancelled;
    return ReceiveBody(transfer, file, resume.kept);
}

bool PackageDownload::AwaitRetry(const Failure& failure, int failedAttempt, const ResumePoint& resume)
{
    // Seeded apart on each machine and run, so that machines cut at once do
    // not return at once.
    static std::minstd_rand jitterSource(static_cast<unsigned>(::GetTickCount64() ^ ::GetCurrentProcessId()));
    const double jitter = std::uniform_real_distribution<double>(0.0, 1.0)(jitterSource);
    const RetryPolicy& retries = m_settings.retries;
    const DWORD waitMs = RetryWaitMs(retries, failedAttempt, jitter, failure.retryAfterSeconds);
    const bool resumes = resume.kept > 0 && resume.validator;
    m_report.Detail(download_retry::RetryLine(failure.exitCode, resume.kept, m_total, waitMs, failedAttempt + 1,
                                              retries.attempts, resumes));
    return WaitUnlessCancelled(m_cancelEvent, waitMs);
}

DownloadOutcome PackageDownload::Run(TransferRequest request, const std::wstring& localFile)
{
    // A request made before this download began (during the details
    // retrieval) is seen where a first poll would see it: after the answer's
    // status, before the first read. One made while the host is silent ends
    // the wait at once.
    const bool cancelledBefore = CancelRequested();
    const ULONGLONG startedMs = ::GetTickCount64();

    request.timeoutMs = m_settings.networkTimeoutMs;
    if (!IsWebUrl(request.url))
        return End(DownloadOutcome::OpenFailed, exit_codes::kUrlRefused);
    // A command without a package name leaves none: never write a file
    // called "temp" over whatever has that name.
    if (localFile.empty())
        return End(DownloadOutcome::RenameFailed, exit_codes::kLocalFileFailed);
    TempDownloadFile file(localFile + L"temp");
    if (!file.IsOpen())
        return End(DownloadOutcome::FileCreateFailed, FileErrorCode(file));

    m_total = 0;
    m_progressShown = 0;
    ResumePoint resume;
    const int attempts = m_settings.retries.attempts;
    for (int attempt = 1;; ++attempt) {
        const std::optional<Failure> failure = Attempt(request, file, resume, cancelledBefore && attempt == 1);
        if (!failure)
            break;
        if (attempt == attempts || !download_retry::IsPassing(failure->exitCode))
            return End(*failure, file);
        if (!AwaitRetry(*failure, attempt, resume))
            return End(kCancelled, file);
    }
    m_report.Note(L"The download took " + std::to_wstring(::GetTickCount64() - startedMs) + L" ms");
    return Finish(file, localFile);
}

DownloadOutcome PackageDownload::Copy(const PackageSource& source, const std::wstring& localFile)
{
    const ULONGLONG startedMs = ::GetTickCount64();
    if (localFile.empty())
        return End(DownloadOutcome::RenameFailed, exit_codes::kLocalFileFailed);
    std::optional<OwnedFile> from(std::in_place, ::CreateFileW(source.file.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                                              nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN,
                                                              nullptr));
    if (!from->IsOpen()) {
        m_report.Note(ErrorNote(L"The layout's file " + source.file + L" cannot be opened", ::GetLastError()));
        return End(DownloadOutcome::SourceMissing, exit_codes::kLayoutFileMissing);
    }
    TempDownloadFile file(localFile + L"temp");
    if (!file.IsOpen())
        return End(DownloadOutcome::FileCreateFailed, FileErrorCode(file));

    LARGE_INTEGER size{};
    m_total = ::GetFileSizeEx(from->get(), &size) ? size.QuadPart : 0;
    m_progressShown = 0;
    ProgressPacing pacing;
    std::vector<char> buffer(64 * 1024);
    LONGLONG copied = 0;
    for (;;) {
        if (CancelRequested())
            return End(kCancelled, file);
        DWORD read = 0;
        if (!::ReadFile(from->get(), buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr))
            return End(Failure{DownloadOutcome::ReadFailed,
                               exit_codes::CausedBy(::GetLastError(), exit_codes::kReadFailed), true},
                       file);
        if (read == 0)
            break;
        if (!file.Write(buffer.data(), read))
            return End(Failure{DownloadOutcome::RenameFailed, FileErrorCode(file), true}, file);
        copied += read;
        if (copied < m_total && pacing.ShouldReport(::GetTickCount64())) {
            m_report.UpdateProgress(copied, m_total);
            m_progressShown = copied;
        }
    }
    m_total = copied;
    // Closed before the move: the layout may be the working folder, and its
    // file the one the copy replaces.
    from.reset();
    m_report.Note(L"Copied " + std::to_wstring(copied) + L" bytes from " + source.file + L" in " +
                  std::to_wstring(::GetTickCount64() - startedMs) + L" ms");
    return Finish(file, localFile, source.sha256);
}

DownloadOutcome PackageDownload::Finish(TempDownloadFile& file, const std::wstring& localFile,
                                        const std::wstring& expectedSha256)
{
    if (const auto ending = StoreAndHold(file, localFile, expectedSha256))
        return *ending;
    if (const auto ending = VerifyPublisher())
        return *ending;
    return End(DownloadOutcome::Completed);
}

std::optional<DownloadOutcome> PackageDownload::StoreAndHold(TempDownloadFile& file, const std::wstring& localFile,
                                                             const std::wstring& expectedSha256)
{
    if (!file.Flush())
        return End({DownloadOutcome::RenameFailed, FileErrorCode(file), true}, file);
    const std::optional<Sha256Digest> received = file.Digest();
    if (!expectedSha256.empty() && (!received || HexText(*received) != expectedSha256)) {
        m_report.Note(L"The copy's SHA-256 " + (received ? HexText(*received) : std::wstring(L"(none)")) +
                      L" is not the " + expectedSha256 + L" its layout's manifest names");
        return End({DownloadOutcome::SourceDiffers, exit_codes::kLayoutFileDiffers, true}, file);
    }
    if (!file.MoveTo(localFile)) {
        // The temporary file stays.
        file.Close();
        return End(DownloadOutcome::RenameFailed, FileErrorCode(file));
    }
    m_report.PackageInPlace();

    // ORDER IS LOAD-BEARING: the file is locked by its writing handle until
    // Close, and an installer cannot open a file that a writer holds. The
    // read-only hold must follow at once; what another process may have done
    // in between shows in the digest of the held file.
    const ULONGLONG startedMs = ::GetTickCount64();
    file.Close();
    m_held = file.Identity() ? m_pfnHoldPackage(localFile, *file.Identity()) : HeldPackage();
    const std::optional<Sha256Digest> held = m_held.IsHeld() ? Sha256OfFile(m_held.handle()) : std::nullopt;
    if (!m_held.IsHeld())
        m_report.Note(ErrorNote(L"The package could not be held for its installer", m_held.Error()));
    if (!received || !held || *held != *received) {
        // It is not ours any more: it stays as it is, and nothing runs it.
        m_held.Release();
        m_report.Note(L"The package changed on disk before its installer started");
        return End(DownloadOutcome::ReadFailed, exit_codes::kPackageChanged);
    }
    m_digest = held;
    m_report.Note(L"The package is held for its installer; its SHA-256 " + HexText(*held) +
                  L" is the one received (checked in " + std::to_wstring(::GetTickCount64() - startedMs) + L" ms)");
    return std::nullopt;
}

std::optional<DownloadOutcome> PackageDownload::VerifyPublisher()
{
    if (m_settings.packageSigners.empty())
        return std::nullopt;
    const PublisherCheck publisher = CheckPublisher(m_held, m_settings.packageSigners);
    m_report.Note(publisher.finding);
    if (!publisher.accepted) {
        m_held.Release();
        return End(DownloadOutcome::PublisherRefused, exit_codes::kPackageNotSigned);
    }
    return std::nullopt;
}
