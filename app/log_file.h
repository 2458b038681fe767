#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "afx_sync.h"

// The log a run writes when asked to (/log): UTF-8 text, one line per
// event, each with its local time. Every line goes to the file as it comes,
// so the log of a run that was killed ends at its last event. A log that
// cannot be opened or written is left out: it never stops an installation.
// Lines may come from any thread.
class LogFile {
public:
    // Creates the file new, in place of what was at its name, never through
    // a link planted there (such a log is left out). Only administrators
    // and the user who runs the program may open it, whatever its folder
    // hands down: it names the package, and with it the setup token.
    explicit LogFile(const std::wstring& path);
    ~LogFile();
    LogFile(const LogFile&) = delete;
    LogFile& operator=(const LogFile&) = delete;

    bool IsOpen() const { return m_file != INVALID_HANDLE_VALUE; }
    const std::wstring& Path() const { return m_path; }
    // From now on every occurrence of this text (the setup token, the
    // proxy password) is masked.
    void Mask(const std::wstring& secret);
    void Write(const std::wstring& line);

private:
    std::wstring m_path;
    HANDLE m_file;
    CCriticalSection m_lock;
    std::vector<std::wstring> m_secrets;
};
