// Downloading one installer package over HTTPS into its local file, through a
// temporary file that is moved into place only when the whole body is stored.
#include <windows.h>
#include <wininet.h>

#include <optional>
#include <string>

#include "build_config.h"
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

// Failures that come with an answer: the temporary file is closed before the
// messages and deleted after them.
DownloadOutcome InstallSequence::ReportAndDiscard(PackageKind kind, DownloadOutcome outcome, DWORD exitCode,
                                                  TempDownloadFile& file)
{
    file.Close();
    Report(kind, outcome, exitCode);
    file.Discard();
    return outcome;
}

// Cancellation and a damaged file: the temporary file goes before the messages.
DownloadOutcome InstallSequence::DiscardAndReport(PackageKind kind, DownloadOutcome outcome, DWORD exitCode,
                                                  TempDownloadFile& file)
{
    file.Discard();
    return Report(kind, outcome, exitCode);
}

DownloadOutcome InstallSequence::Cancel(PackageKind kind, TempDownloadFile& file)
{
    return DiscardAndReport(kind, DownloadOutcome::Cancelled, exit_codes::kUserCancelled, file);
}

// Stores the body in the temporary file as it arrives, reporting progress;
// the download's outcome when it must end here instead.
std::optional<DownloadOutcome> InstallSequence::ReceiveBody(PackageKind kind, PackageTransfer& transfer,
                                                            TempDownloadFile& file)
{
    const bool totalKnown = m_packageTotal > 0;
    ProgressPacing pacing;
    LONGLONG received = 0;
    ULONGLONG lastArrivalMs = ::GetTickCount64();
    TransferBody body;
    do {
        if (transfer.AwaitBody(m_host.CancelEvent(), ProgressPacing::kReportIntervalMs, body) ==
            TransferWait::Cancelled)
            return Cancel(kind, file);
        const ULONGLONG now = ::GetTickCount64();
        if (body.bytes.empty()) {
            if (m_options.networkTimeoutMs && !body.finished && now - lastArrivalMs >= *m_options.networkTimeoutMs) {
                m_host.Note(L"No data for " + std::to_wstring(*m_options.networkTimeoutMs) + L" ms");
                return ReportAndDiscard(kind, DownloadOutcome::ReadFailed, ERROR_INTERNET_TIMEOUT, file);
            }
            continue;
        }
        lastArrivalMs = now;
        if (!file.Write(body.bytes.data(), body.bytes.size()))
            return DiscardAndReport(kind, DownloadOutcome::RenameFailed, FileErrorCode(file), file);
        received += static_cast<LONGLONG>(body.bytes.size());
        // Equal counts are left to the installation step's final report.
        if (totalKnown && received != m_packageTotal && pacing.ShouldReport(now))
            m_host.UpdateDownloadProgress(received, m_packageTotal);
    } while (!body.finished);

    m_host.Note(L"Received " + std::to_wstring(received) + L" bytes");
    if (body.failed) {
        NoteError(L"Reading the body failed", body.error);
        return ReportAndDiscard(kind, DownloadOutcome::ReadFailed,
                                exit_codes::CausedBy(body.error, exit_codes::kReadFailed), file);
    }
    // The request may have come with the last bytes.
    if (CancelRequested())
        return Cancel(kind, file);
    // A connection closed before the announced length is a failed read, not
    // a smaller package.
    if (totalKnown && received < m_packageTotal)
        return ReportAndDiscard(kind, DownloadOutcome::ReadFailed, exit_codes::kReadFailed, file);
    if (!totalKnown)
        m_packageTotal = received;
    return std::nullopt;
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
    if (agent)
        request.proxy = m_host.AgentProxy();
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
        request.proxyCredentials = m_host.AgentProxyCredentials();

    m_host.Note(L"Requesting " + request.url);
    PackageTransfer transfer(std::move(request));
    if (!transfer.Started())
        return ReportAndDiscard(kind, DownloadOutcome::OpenFailed,
                                exit_codes::CausedBy(transfer.StartError(), exit_codes::kOpenFailed), file);

    TransferResponse response;
    switch (transfer.AwaitResponse(m_host.CancelEvent(), m_options.networkTimeoutMs, response)) {
    case TransferWait::Cancelled:
        return Cancel(kind, file);
    case TransferWait::TimedOut:
        return ReportAndDiscard(kind, DownloadOutcome::OpenFailed, ERROR_INTERNET_TIMEOUT, file);
    case TransferWait::Ready:
        break;
    }
    if (!response.opened) {
        NoteError(L"Opening the URL failed", response.error);
        return ReportAndDiscard(kind, DownloadOutcome::OpenFailed,
                                exit_codes::CausedBy(response.error, exit_codes::kOpenFailed), file);
    }

    m_host.Note(L"HTTP status " + response.status.value_or(L"(none)") + L", Content-Length " +
                response.contentLength.value_or(L"(none)"));
    // Anything but a success status is a failure: an error page must never
    // be stored and run as the package.
    if (response.status && !IsSuccessStatus(*response.status)) {
        const std::wstring& status = *response.status;
        const DownloadOutcome outcome = status == L"404"   ? DownloadOutcome::NotFound
                                        : status == L"500" ? DownloadOutcome::ServerError
                                                           : DownloadOutcome::OpenFailed;
        const auto code = static_cast<DWORD>(exit_codes::kHttpStatusBase + ParseContentLength(status));
        return ReportAndDiscard(kind, outcome, code, file);
    }

    m_packageTotal = ParseContentLength(response.contentLength.value_or(L""));
    if (cancelledBefore || CancelRequested())
        return Cancel(kind, file);

    if (const auto ending = ReceiveBody(kind, transfer, file))
        return *ending;
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
        return DiscardAndReport(kind, DownloadOutcome::RenameFailed, FileErrorCode(file), file);
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
    m_heldPackage = m_pfnHoldPackage(localFile);
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
