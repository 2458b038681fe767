#pragma once

#include "afx_sync.h"
#include "command_line_options.h"
#include "installation_host.h"

// The host of a run without any window (/quiet): the choices come from the
// command line, the reports go nowhere (a log file, when asked for, sees
// them through a LoggingHost), and nobody can cancel.
class WindowlessHost : public InstallationHost {
public:
    explicit WindowlessHost(const CommandLineOptions& options) : m_options(options) {}

    bool PatchManagementSelected() override { return m_options.patchManagement; }
    std::optional<std::wstring> AgentProxy() override { return m_options.proxy; }
    ProxyCredentials AgentProxyCredentials() override
    {
        return {m_options.proxyUser.value_or(L""), m_options.proxyPassword.value_or(L"")};
    }
    void SetStatusText(LPCWSTR) override {}
    void AppendLog(CString) override {}
    void UpdateDownloadProgress(LONGLONG, LONGLONG) override {}
    void SetProgressComplete() override {}
    void ShowDetails() override {}
    void EnableButton(int, BOOL) override {}
    void Note(const std::wstring&) override {}
    void RunEnded(const RunResult&) override {}
    HANDLE CancelEvent() override { return m_neverCancelled.m_hObject; }

private:
    const CommandLineOptions& m_options;
    CEvent m_neverCancelled;
};
