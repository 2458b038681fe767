// What an installation run shows and asks through whoever shows it.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "afx_string.h"
#include "proxy_setting.h"
#include "run_result.h"

// Whoever shows an installation run: the dialog, or nothing at all in the
// windowless mode. The run reads the user's choices through it, reports
// every step to it and learns from it whether the user asked to cancel.
// Every call comes from the thread that runs the installation.
class InstallationHost {
public:
    virtual ~InstallationHost() = default;

    virtual bool PatchManagementSelected() = 0;
    // The proxy ("host:port") the agent download goes through; nothing means
    // the system's own settings.
    virtual std::optional<std::wstring> AgentProxy() = 0;
    // Read only once the download's temporary file exists.
    virtual ProxyCredentials AgentProxyCredentials() = 0;

    virtual void SetStatusText(LPCWSTR text) = 0;
    virtual void AppendLog(CString text) = 0;
    virtual void UpdateDownloadProgress(LONGLONG bytesDone, LONGLONG bytesTotal) = 0;
    virtual void SetProgressComplete() = 0;
    virtual void ShowDetails() = 0;
    // IDOK or IDCANCEL. OK is only ever enabled by RunEnded.
    virtual void EnableButton(int id, BOOL enable) = 0;
    // What only a log file records: URLs, HTTP answers, error numbers,
    // command lines, durations.
    virtual void Note(const std::wstring& line) = 0;
    // The run's last call: nothing of the host is touched after it.
    virtual void RunEnded(const RunResult& result) = 0;

    // Signalled when the user asks to cancel. Auto-reset: a wait that sees
    // the request consumes it.
    virtual HANDLE CancelEvent() = 0;
};
