#pragma once

#include "afx_sync.h"
#include "installation_host.h"

// The host of a run without any window (/quiet): the reports go nowhere (a
// log file, when asked for, sees them through a LoggingHost), and nobody
// can cancel.
class WindowlessHost : public InstallationHost {
public:
    void ShowStatus(const std::wstring&) override {}
    void AddDetail(const std::wstring&) override {}
    void ShowProgress(LONGLONG, LONGLONG) override {}
    void Note(const std::wstring&) override {}
    void AllowCancel(bool) override {}
    void RunEnded(const RunResult&) override {}
    HANDLE CancelEvent() override { return m_neverCancelled.m_hObject; }

private:
    CEvent m_neverCancelled;
};
