#pragma once

#include <string>
#include <vector>

#include "afx_sync.h"
#include "installation_host.h"

// A host that shows nothing and records everything a run tells it, in order,
// as the dialog would show it: status texts, details-log lines with the line
// end the box gives them, Cancel's changes, and the ending (a run that did
// not complete fills the bars, shows its details and disables Cancel first).
// Progress reports are kept apart, as their number depends on timing.
class RecordingHost : public InstallationHost {
public:
    void ShowStatus(const std::wstring& text) override { events.push_back(L"status: " + text); }
    void AddDetail(const std::wstring& line) override { events.push_back(L"log: " + line + L"\r\n"); }
    void ShowProgress(LONGLONG bytesDone, LONGLONG bytesTotal) override { progress.push_back({bytesDone, bytesTotal}); }
    void AllowCancel(bool allowed) override { events.push_back(allowed ? L"Cancel enabled" : L"Cancel disabled"); }
    void Note(const std::wstring& line) override { notes.push_back(line); }
    void RunEnded(const RunResult& result) override
    {
        if (result.threadResult != RunResult::kCompleted)
            events.insert(events.end(), {L"progress complete", L"details shown", L"Cancel disabled"});
        events.push_back(L"ended");
        ended = result;
    }
    HANDLE CancelEvent() override { return cancel.m_hObject; }

    struct Progress {
        LONGLONG done;
        LONGLONG total;
    };

    CEvent cancel;
    std::vector<std::wstring> events;
    std::vector<std::wstring> notes;
    std::vector<Progress> progress;
    RunResult ended{};
};
