// The installation run: its steps in order, each package's download and
// installer, the details retrieval before a package the service names, and
// how the run ends.
#include "install_sequence.h"

#include <wininet.h>

#include "cancellable_wait.h"
#include "error_text.h"
#include "exit_codes.h"
#include "installer_launch.h"
#include "package_download.h"
#include "service_exchange.h"
#include "step_report.h"
#include "wait_policies.h"

namespace {

// A package's download as the run shows it: in its package's texts, through
// the host.
class PackageDownloadReport : public DownloadReport {
public:
    PackageDownloadReport(InstallationHost& host, const PlannedPackage& package)
        : m_host(host), m_kind(package.kind), m_fetchedFile(package.install ? L"" : package.location.name)
    {
    }

    void UpdateProgress(LONGLONG received, LONGLONG total) override { m_host.ShowProgress(received, total); }
    void Note(const std::wstring& line) override { m_host.Note(line); }
    void Detail(const std::wstring& line) override { m_host.AddDetail(line); }
    void PackageInPlace() override { m_host.AllowCancel(false); }
    void Ended(DownloadOutcome outcome) override
    {
        Show(m_host, outcome == DownloadOutcome::Completed && !m_fetchedFile.empty()
                         ? LayoutFileMessage(m_fetchedFile)
                         : DownloadMessage(m_kind, outcome));
    }

private:
    InstallationHost& m_host;
    const PackageKind m_kind;
    // A layout's package: only fetched, under this name.
    const std::wstring m_fetchedFile;
};

// What the package's download asks of the network. A URL the service names
// is always fetched over TLS, and, like any package URL, only when it is a
// web address.
TransferRequest PackageRequest(const PlannedPackage& package)
{
    TransferRequest request;
    request.url = package.url;
    request.proxy = AddressOf(package.proxy);
    if (package.proxy)
        request.proxyCredentials = package.proxy->credentials;
    request.openFlags = (package.detailsFromService ? INTERNET_FLAG_SECURE : 0) | INTERNET_FLAG_RELOAD |
                        INTERNET_FLAG_NO_CACHE_WRITE;
    return request;
}

}  // namespace

RunResult InstallSequence::Run()
{
    const RunResult result = RunSteps();
    m_host.RunEnded(result);
    return result;
}

RunResult InstallSequence::RunSteps()
{
    const bool makesLayout = !m_plan.layoutFolder.empty();
    if (!m_plan.sourceFolder.empty()) {
        if (const auto exitCode = m_layout.Take())
            return FinishWithFailure(*exitCode);
    }
    if (makesLayout) {
        if (const auto exitCode = m_layout.Begin())
            return FinishWithFailure(*exitCode);
    }
    for (PlannedPackage& package : m_plan.packages) {
        if (package.detailsFromService) {
            if (const auto ending = RetrieveDownloadDetails(package))
                return *ending;
        }
        if (makesLayout && m_layout.Kept(package))
            continue;
        Show(m_host, DownloadBeganMessage(package.kind));
        if (const auto ending = InstallPackage(package))
            return *ending;
        if (package.cancellableAfterInstall)
            m_host.AllowCancel(true);
    }
    if (makesLayout) {
        if (const auto exitCode = m_layout.End())
            return FinishWithFailure(*exitCode);
    }
    return Completed();
}

std::optional<RunResult> InstallSequence::RetrieveDownloadDetails(PlannedPackage& package)
{
    const RetryPolicy& retries = m_choices.retryPassingFailures ? kServiceRetries : kServiceRetriesAtOnce;
    ShowStep(m_host, L"Retrieving Patch Management download details",
             L"Retrieving Patch Management download details.");
    for (int attempt = 1;; ++attempt) {
        const ULONGLONG startedMs = ::GetTickCount64();
        std::vector<std::wstring> notes;
        CString command;
        CString url;
        const int retrieved = FetchPatchDownloadDetails(BuiltInServiceEndpoint(), m_plan.setupToken, command, url,
                                                        m_choices.networkTimeoutMs, m_choices.proxy, &notes);
        const DWORD error = ::GetLastError();
        for (const std::wstring& note : notes)
            m_host.Note(note);
        if (retrieved) {
            m_host.Note(L"The web service answered in " + std::to_wstring(::GetTickCount64() - startedMs) +
                        L" ms: URL " + url.str() + L", command " + command.str());
            ShowStep(m_host, L"Retrieved Patch Management download details",
                     L"Retrieved Patch Management download details. ");
            TakeDownloadDetails(package, url.str(), command.str());
            return std::nullopt;
        }
        if (error == ERROR_SUCCESS)
            m_host.Note(L"The web service's answer held no download details");
        else if (error == exit_codes::kAnswerNotFromHost)
            m_host.Note(L"Retrieving the download details failed: the answer did not come over TLS from the service");
        else
            m_host.Note(ErrorNote(L"Retrieving the download details failed", error));
        if (attempt == retries.attempts) {
            ShowStep(m_host, L"Failed to retrieve Patch Management download details",
                     L"Failed to retrieve Patch Management download details. ");
            return FinishWithFailure(exit_codes::CausedBy(error, exit_codes::kDetailsRefused));
        }
        ShowStep(m_host, L"Error retrieving Patch Management download details. Retrying...",
                 L"Error retrieving Patch Management download details. Retrying... ");
        // Without a pause nothing waits: a cancel request is then seen by the
        // download, before its first read.
        const DWORD waitMs = RetryWaitMs(retries, attempt, 0);
        if (waitMs > 0 && !WaitUnlessCancelled(m_host.CancelEvent(), waitMs))
            return FinishWithCancel();
    }
}

std::optional<RunResult> InstallSequence::InstallPackage(const PlannedPackage& package)
{
    PackageDownloadReport report(m_host, package);
    PackageDownload download(report, m_host.CancelEvent(),
                             {m_choices.networkTimeoutMs,
                              m_choices.retryPassingFailures ? kPackageDownloadRetries : kPackageDownloadOnce,
                              m_choices.packageSigners});
    download.m_pfnHoldPackage = m_pfnHoldPackage;
    const DownloadOutcome outcome = package.source.file.empty()
                                        ? download.Run(PackageRequest(package), package.location.Path())
                                        : download.Copy(package.source, package.location.Path());
    if (outcome == DownloadOutcome::Cancelled)
        return FinishWithCancel();
    if (outcome != DownloadOutcome::Completed)
        return FinishWithFailure(download.ExitCode());
    if (!package.install) {
        if (const auto exitCode = m_layout.Add(package, download))
            return FinishWithFailure(*exitCode);
        return std::nullopt;
    }

    // An installer's own messages are already shown; 1602 (the user left the
    // installer) is a failure, not a cancelled download.
    HeldPackage held = download.TakeHeldPackage();
    const std::optional<DWORD> exitCode = RunInstaller(m_host, m_choices, package, held);
    // The installer has ended, or never started: the package is no longer held.
    held.Release();
    if (!exitCode)
        return FinishWithCancel();
    Show(m_host, InstallerMessage(package.kind, *exitCode));
    m_host.ShowProgress(download.Total(), download.Total());
    if (*exitCode == exit_codes::kSuccess)
        return std::nullopt;
    // Deployment tools read 3010 as installed with a restart pending, and
    // 1641 as a restart under way: nothing more may start then.
    if (m_choices.unattended && *exitCode == exit_codes::kRestartRequired) {
        m_restartRequired = true;
        return std::nullopt;
    }
    if (m_choices.unattended && *exitCode == exit_codes::kRestartStarted)
        return RunResult{RunResult::kCompleted, exit_codes::kRestartStarted};
    return FinishWithFailure(*exitCode);
}

RunResult InstallSequence::Completed() const
{
    return {RunResult::kCompleted, m_restartRequired ? exit_codes::kRestartRequired : exit_codes::kSuccess};
}

// The host shows the failure when the run ends: complete bars, the details,
// Cancel no longer allowed.
RunResult InstallSequence::FinishWithFailure(DWORD exitCode)
{
    return {RunResult::kFailed, exitCode};
}

RunResult InstallSequence::FinishWithCancel()
{
    m_host.AddDetail(L"Download and installation processes aborted.");
    return {RunResult::kCancelled, exit_codes::kUserCancelled};
}
