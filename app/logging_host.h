#pragma once

#include "installation_host.h"
#include "log_file.h"

// Passes every call on to the host that shows the run (the dialog, or
// nothing) and writes what the log file keeps: every details-log line, every
// note, and how the run ended.
class LoggingHost : public InstallationHost {
public:
    LoggingHost(InstallationHost& shown, LogFile& log) : m_shown(shown), m_log(log) {}

    bool PatchManagementSelected() override { return m_shown.PatchManagementSelected(); }
    std::optional<std::wstring> AgentProxy() override { return m_shown.AgentProxy(); }
    ProxyCredentials AgentProxyCredentials() override { return m_shown.AgentProxyCredentials(); }
    void SetStatusText(LPCWSTR text) override { m_shown.SetStatusText(text); }
    void AppendLog(CString text) override;
    void UpdateDownloadProgress(LONGLONG bytesDone, LONGLONG bytesTotal) override
    {
        m_shown.UpdateDownloadProgress(bytesDone, bytesTotal);
    }
    void SetProgressComplete() override { m_shown.SetProgressComplete(); }
    void ShowDetails() override { m_shown.ShowDetails(); }
    void EnableButton(int id, BOOL enable) override { m_shown.EnableButton(id, enable); }
    void Note(const std::wstring& line) override;
    void RunEnded(const RunResult& result) override;
    HANDLE CancelEvent() override { return m_shown.CancelEvent(); }

private:
    InstallationHost& m_shown;
    LogFile& m_log;
};
