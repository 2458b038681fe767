// The installation run: its steps in order, each package's download and
// installer, the details retrieval between them, and how the run ends.
#include "install_sequence.h"

#include <wininet.h>

#include "build_config.h"
#include "error_text.h"
#include "exit_codes.h"
#include "installer_launch.h"
#include "outcome_messages.h"
#include "package_download.h"
#include "windows_bitness.h"

namespace {

constexpr int kRetrievalAttempts = 3;

std::wstring AgentPackageUrl(bool windows64Bit)
{
    return std::wstring(L"https://") + kDownloadHost +
           (windows64Bit ? L"/vta/vta-agent-x64.msi" : L"/vta/vta-agent-x86.msi");
}

// Status line first, then the log line.
void Show(InstallationHost& host, const OutcomeMessage& message)
{
    host.SetStatusText(message.status);
    host.AppendLog(message.log.c_str());
}

// A package's download as the run shows it: in its package's texts, through
// the host, and with the proxy credentials that go with the package.
class PackageDownloadReport : public DownloadReport {
public:
    PackageDownloadReport(InstallationHost& host, PackageKind kind, const std::optional<ProxySetting>& proxy)
        : m_host(host), m_kind(kind), m_proxy(proxy)
    {
    }

    ProxyCredentials ProxyCredentialsForRequest() override
    {
        if (m_kind == PackageKind::Agent)
            return m_host.AgentProxyCredentials();
        return m_proxy ? m_proxy->credentials : ProxyCredentials();
    }
    void UpdateProgress(LONGLONG received, LONGLONG total) override { m_host.UpdateDownloadProgress(received, total); }
    void Note(const std::wstring& line) override { m_host.Note(line); }
    void AppendLog(const std::wstring& line) override { m_host.AppendLog(line.c_str()); }
    void PackageInPlace() override { m_host.EnableButton(IDCANCEL, FALSE); }
    void Ended(DownloadOutcome outcome) override { Show(m_host, DownloadMessage(m_kind, outcome)); }

private:
    InstallationHost& m_host;
    const PackageKind m_kind;
    const std::optional<ProxySetting>& m_proxy;
};

}  // namespace

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
        std::vector<std::wstring> notes;
        const int retrieved = m_files.RetrievePatchDownloadDetails(m_options.networkTimeoutMs, m_options.proxy, &notes);
        const DWORD error = ::GetLastError();
        for (const std::wstring& note : notes)
            m_host.Note(note);
        if (retrieved) {
            m_host.Note(L"The web service answered in " + std::to_wstring(::GetTickCount64() - startedMs) +
                        L" ms: URL " + m_files.m_strPatchDownloadUrl.str() + L", command " +
                        m_files.m_strPatchInstallCommand.str());
            m_host.AppendLog(L"Retrieved Patch Management download details. \r\n");
            m_host.SetStatusText(L"Retrieved Patch Management download details");
            break;
        }
        if (error == ERROR_SUCCESS)
            m_host.Note(L"The web service's answer held no download details");
        else if (error == exit_codes::kAnswerNotFromHost)
            m_host.Note(L"Retrieving the download details failed: the answer did not come over TLS from the service");
        else
            m_host.Note(ErrorNote(L"Retrieving the download details failed", error));
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
    const bool agent = kind == PackageKind::Agent;
    const std::wstring package = (agent ? m_files.m_strAgentInstallerFile : m_files.m_strPatchInstallerFile).str();
    PackageDownloadReport report(m_host, kind, m_options.proxy);
    PackageDownload download(report, m_host.CancelEvent(),
                             {m_options.networkTimeoutMs, m_options.retryPassingFailures, m_options.packageSigners});
    download.m_pfnHoldPackage = m_pfnHoldPackage;
    const DownloadOutcome outcome = download.Run(PackageRequest(kind), package);
    if (outcome == DownloadOutcome::Cancelled)
        return FinishWithCancel();
    if (outcome != DownloadOutcome::Completed)
        return FinishWithFailure(download.ExitCode());

    // An installer's own messages are already shown; 1602 (the user left the
    // installer) is a failure, not a cancelled download.
    HeldPackage held = download.TakeHeldPackage();
    const std::optional<DWORD> exitCode =
        RunInstaller(m_host, m_options, kind, held, agent ? std::wstring() : m_files.m_strPatchInstallCommand.str());
    // The installer has ended, or never started: the package is no longer held.
    held.Release();
    if (!exitCode)
        return FinishWithCancel();
    Show(m_host, InstallerMessage(kind, *exitCode));
    m_host.UpdateDownloadProgress(download.Total(), download.Total());
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

TransferRequest InstallSequence::PackageRequest(PackageKind kind)
{
    const bool agent = kind == PackageKind::Agent;
    TransferRequest request;
    request.proxy = agent ? m_host.AgentProxy() : AddressOf(m_options.proxy);
    request.url = agent ? AgentPackageUrl(RunningOn64BitWindows()) : m_files.m_strPatchDownloadUrl.str();
    // The service names the Patch Management URL: it is always fetched over
    // TLS, and, like any package URL, only when it is a web address.
    request.openFlags = agent ? 0 : INTERNET_FLAG_SECURE;
    request.openFlags |= INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE;
    return request;
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
