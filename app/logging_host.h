#pragma once

#include "installation_host.h"
#include "log_file.h"

// Passes every call on to the host that shows the run (the dialog, or
// nothing) and writes what the log file keeps: every details-log line, every
// note, and how the run ended.
class LoggingHost : public InstallationHost {
public:
    LoggingHost(InstallationHost& shown, LogFile& log) : m_shown(shown), m_log(log) {}

    void ShowStatus(const std::wstring& text) override { m_shown.ShowStatus(text); }
    void AddDetail(const std::wstring& line) override;
    void ShowProgress(LONGLONG bytesDone, LONGLONG bytesTotal) override { m_shown.ShowProgress(bytesDone, bytesTotal); }
    void Note(const std::wstring& line) override;
    void AllowCancel(bool allowed) override { m_shown.AllowCancel(allowed); }
    void RunEnded(const RunResult& result) override;
    HANDLE CancelEvent() override { return m_shown.CancelEvent(); }

private:
    InstallationHost& m_shown;
    LogFile& m_log;
};
