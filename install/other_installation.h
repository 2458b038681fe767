// Waiting while another Windows Installer installation runs.
#pragma once

#include <windows.h>

// Windows Installer runs one installation at a time; another one's installer
// answers 1618 (ERROR_INSTALL_ALREADY_RUNNING) at once. The unattended modes
// wait for the running one instead of failing.

// Whether Windows Installer is running an installation now: it holds its
// "Global\_MSIExecute" mutex meanwhile.
bool OtherInstallationRuns();

// The waits for another installation to end, as kOtherInstallationWaits
// says, all within kOtherInstallationBudgetMs counted from the first look.
class OtherInstallationWaits {
public:
    OtherInstallationWaits();

    bool OutOfTime() const;
    // The next wait's length: never past the budget's end.
    DWORD NextWaitMs();

private:
    ULONGLONG m_deadline;
    int m_waits = 0;
};
