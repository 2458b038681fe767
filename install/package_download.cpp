// Downloading one installer package over HTTPS into its local file, through a
// temporary file that is moved into place only when the whole body is stored.
#include <optional>
#include <string>

#include "build_config.h"
#include "download_pacing.h"
#include "download_text.h"
#include "install_sequence.h"
#include "internet_handle.h"
#include "resource.h"
#include "temp_download_file.h"
#include "vta_agent_download_managerDlg.h"
#include "windows_bitness.h"

namespace {

constexpr wchar_t kUserAgent[] = L"Mozilla/4.0 (compatible) Poison";
constexpr DWORD kChunkBytes = 1024;
constexpr DWORD kHeaderTextChars = 512;  // a 1024-byte buffer

std::wstring AgentPackageUrl(bool windows64Bit)
{
    return std::wstring(L"https://") + kDownloadHost +
           (windows64Bit ? L"/vta/vta-agent-x64.msi" : L"/vta/vta-agent-x86.msi");
}

// A response header as text; nothing when the query fails.
std::optional<std::wstring> QueryHeaderText(HINTERNET request, DWORD query)
{
    wchar_t buffer[kHeaderTextChars] = {};
    DWORD size = sizeof(buffer) - sizeof(wchar_t);
    if (!::HttpQueryInfoW(request, query, buffer, &size, nullptr))
        return std::nullopt;
    return std::wstring(buffer);
}

bool IsSuccessStatus(const std::wstring& status)
{
    const int64_t code = ParseContentLength(status);
    return code >= 200 && code <= 299;
}

// The Patch Management URL is opened secure; an unknown certificate authority
// gets one more try with that check switched off on the internet handle.
HINTERNET OpenPackageUrl(HINTERNET internet, const std::wstring& url, PackageKind kind)
{
    const DWORD flags = kind == PackageKind::Agent ? 0 : INTERNET_FLAG_SECURE;
    HINTERNET request = ::InternetOpenUrlW(internet, url.c_str(), nullptr, 0, flags, 0);
    if (request || kind == PackageKind::Agent || ::GetLastError() != ERROR_INTERNET_INVALID_CA)
        return request;

    DWORD securityFlags = 0;
    DWORD size = sizeof(securityFlags);
    ::InternetQueryOptionW(internet, INTERNET_OPTION_SECURITY_FLAGS, &securityFlags, &size);
    securityFlags |= SECURITY_FLAG_IGNORE_UNKNOWN_CA;
    ::InternetSetOptionW(internet, INTERNET_OPTION_SECURITY_FLAGS, &securityFlags, sizeof(securityFlags));
    return ::InternetOpenUrlW(internet, url.c_str(), nullptr, 0, flags, 0);
}

// The "Use HTTP Proxy" settings, read from the dialog's controls.
struct ProxySettings {
    bool use = false;
    std::wstring server;  // host ":" port, as typed
    std::wstring user;
    std::wstring password;
};

// A proxy that asks for credentials (407) gets the typed user name and
// password on the request, which is then sent once more.
void AnswerProxyChallenge(HINTERNET request, const ProxySettings& proxy)
{
    if (proxy.user.empty() && proxy.password.empty())
        return;
    if (!proxy.user.empty())
        ::InternetSetOptionW(request, INTERNET_OPTION_PROXY_USERNAME, const_cast<wchar_t*>(proxy.user.c_str()),
                             static_cast<DWORD>(proxy.user.size()));
    if (!proxy.password.empty())
        ::InternetSetOptionW(request, INTERNET_OPTION_PROXY_PASSWORD, const_cast<wchar_t*>(proxy.password.c_str()),
                             static_cast<DWORD>(proxy.password.size()));
    ::HttpSendRequestW(request, nullptr, 0, nullptr, 0);
}

}  // namespace

// The temporary file is closed before the messages and deleted after them.
DownloadOutcome InstallSequence::ReportAndDiscard(PackageKind kind, DownloadOutcome outcome, TempDownloadFile& file)
{
    file.Close();
    Report(kind, outcome);
    file.Discard();
    return outcome;
}

DownloadOutcome InstallSequence::DownloadInstaller(PackageKind kind)
{
    const bool agent = kind == PackageKind::Agent;
    auto controlText = [this](int id) { return m_dialog.GetDlgItem(id).GetWindowText().str(); };

    ProxySettings proxy;
    if (agent && m_dialog.IsChecked(IDC_CHECK_USE_PROXY)) {
        proxy.use = true;
        proxy.server = controlText(IDC_PROXY_HOST) + L":" + controlText(IDC_PROXY_PORT);
    }
    const std::wstring url = agent ? AgentPackageUrl(RunningOn64BitWindows()) : m_dialog.m_strPatchDownloadUrl.str();

    // A failed open leaves a null handle, which makes the URL open fail.
    InternetHandle internet(::InternetOpenW(kUserAgent, proxy.use ? INTERNET_OPEN_TYPE_PROXY : INTERNET_OPEN_TYPE_PRECONFIG,
                                           proxy.use ? proxy.server.c_str() : nullptr, nullptr, 0));

    const std::wstring localFile = (agent ? m_dialog.m_strAgentInstallerFile : m_dialog.m_strPatchInstallerFile).str();
    TempDownloadFile file(localFile + L"temp");
    if (!file.IsOpen())
        return Report(kind, DownloadOutcome::FileCreateFailed);
    if (proxy.use) {
        proxy.user = controlText(IDC_PROXY_USER);
        proxy.password = controlText(IDC_PROXY_PASSWORD);
    }

    InternetHandle request(OpenPackageUrl(internet.get(), url, kind));
    if (!request) {
        file.Discard();
        return Report(kind, DownloadOutcome::OpenFailed);
    }

    std::optional<std::wstring> status = QueryHeaderText(request.get(), HTTP_QUERY_STATUS_CODE);
    if (proxy.use && status == L"407") {
        AnswerProxyChallenge(request.get(), proxy);
        status = QueryHeaderText(request.get(), HTTP_QUERY_STATUS_CODE);
    }
    // Anything but a success status is a failure: an error page must never
    // be stored and run as the package.
    if (status && !IsSuccessStatus(*status)) {
        const DownloadOutcome outcome = *status == L"404"   ? DownloadOutcome::NotFound
                                        : *status == L"500" ? DownloadOutcome::ServerError
                                                            : DownloadOutcome::OpenFailed;
        return ReportAndDiscard(kind, outcome, file);
    }

    m_packageTotal = ParseContentLength(QueryHeaderText(request.get(), HTTP_QUERY_CONTENT_LENGTH).value_or(L""));
    const bool totalKnown = m_packageTotal > 0;

    if (CancelRequested()) {
        file.Discard();
        return Report(kind, DownloadOutcome::Cancelled);
    }

    DownloadPacing pacing(::GetTickCount64());
    LONGLONG received = 0;
    char buffer[kChunkBytes];
    for (;;) {
        DWORD read = 0;
        if (!::InternetReadFile(request.get(), buffer, sizeof(buffer), &read))
            return ReportAndDiscard(kind, DownloadOutcome::ReadFailed, file);
        if (read == 0)
            break;
        if (!file.Write(buffer, read)) {
            file.Discard();
            return Report(kind, DownloadOutcome::RenameFailed);
        }
        received += read;

        const uint64_t now = ::GetTickCount64();
        // Equal counts are left to the installation step's final report.
        if (totalKnown && received != m_packageTotal && pacing.ShouldReport(now))
            m_dialog.UpdateDownloadProgress(received, m_packageTotal);
        if (pacing.ShouldPollCancel(now) && CancelRequested()) {
            file.Discard();
            return Report(kind, DownloadOutcome::Cancelled);
        }
    }

    // The polls above are paced, so the last chunks may not have looked yet.
    if (CancelRequested()) {
        file.Discard();
        return Report(kind, DownloadOutcome::Cancelled);
    }
    // A connection closed before the announced length is a failed read, not
    // a smaller package.
    if (totalKnown && received < m_packageTotal)
        return ReportAndDiscard(kind, DownloadOutcome::ReadFailed, file);
    if (!totalKnown)
        m_packageTotal = received;

    if (!file.Close()) {
        file.Discard();
        return Report(kind, DownloadOutcome::RenameFailed);
    }
    if (!::MoveFileExW(file.name().c_str(), localFile.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED))
        return Report(kind, DownloadOutcome::RenameFailed);  // the temporary file stays

    request.Close();
    EnableButton(IDCANCEL, FALSE);
    return Report(kind, DownloadOutcome::Completed);
}
