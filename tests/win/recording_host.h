#pragma once

#include <string>
#include <vector>

#include "afx_sync.h"
#include "installation_host.h"

// A host that shows nothing and records everything a run tells it, in order:
// status texts, log lines, button changes and the ending. Progress reports
// are kept apart, as their number depends on timing.
class RecordingHost : public InstallationHost {
public:
    bool PatchManagementSelected() override { return patchManagement; }
    std::optional<std::wstring> AgentProxy() override { return AddressOf(proxy); }
    ProxyCredentials AgentProxyCredentials() override { return proxy ? proxy->credentials : ProxyCredentials(); }

    void SetStatusText(LPCWSTR text) override { events.push_back(L"status: " + std::wstring(text)); }
    void AppendLog(CString text) override { events.push_back(L"log: " + text.str()); }
    void UpdateDownloadProgress(LONGLONG bytesDone, LONGLONG bytesTotal) override
    {
        progress.push_back({bytesDone, bytesTotal});
    }
    void SetProgressComplete() override { events.push_back(L"progress complete"); }
    void ShowDetails() override { events.push_back(L"details shown"); }
    void EnableButton(int id, BOOL enable) override
    {
        events.push_back(std::wstring(id == IDOK ? L"OK" : L"Cancel") + (enable ? L" enabled" : L" disabled"));
    }
    void Note(const std::wstring& line) override { notes.push_back(line); }
    void RunEnded(const RunResult& result) override
    {
        events.push_back(L"ended");
        ended = result;
    }
    HANDLE CancelEvent() override { return cancel.m_hObject; }

    struct Progress {
        LONGLONG done;
        LONGLONG total;
    };

    bool patchManagement = true;
    // The agent's proxy, as the dialog's box would give it.
    std::optional<ProxySetting> proxy;
    CEvent cancel;
    std::vector<std::wstring> events;
    std::vector<std::wstring> notes;
    std::vector<Progress> progress;
    RunResult ended{};
};
