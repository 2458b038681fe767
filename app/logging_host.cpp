#include "logging_host.h"

void LoggingHost::AddDetail(const std::wstring& line)
{
    m_log.Write(line);
    m_shown.AddDetail(line);
}

void LoggingHost::Note(const std::wstring& line)
{
    m_log.Write(line);
    m_shown.Note(line);
}

void LoggingHost::RunEnded(const RunResult& result)
{
    m_log.Write(L"The installation ended with exit code " + std::to_wstring(result.exitCode));
    m_shown.RunEnded(result);
}
