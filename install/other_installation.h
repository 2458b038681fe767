// Waiting while another Windows Installer installation runs.
#pragma once

#include <windows.h>

// Windows Installer runs one installation at a time; another one's installer
// answers 1618 (ERROR_INSTALL_ALREADY_RUNNING) at once. The unattended modes
// wait for the running one instead of failing.

// Whether Windows Installer is running an installation now: it holds its
// "Global\_MSIExecute" mutex meanwhile.
bool OtherInstallationRuns();

// The waits for another installation to end: each longer than the one
// before, from a few seconds to a minute, all within one budget (ten
// minutes) counted from the first look.
class OtherInstallationWaits {
public:
    OtherInstallationWaits();

    bool OutOfTime() const;
    // The next wait's length: never past the budget's end.
    DWORD NextWaitMs();

private:
    ULONGLONG m_deadline;
    DWORD m_nextWaitMs;
};
