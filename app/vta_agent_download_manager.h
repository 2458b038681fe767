#pragma once

#include <windows.h>

#include "afxwin.h"

class Cvta_agent_download_managerApp : public CWinApp {
public:
    Cvta_agent_download_managerApp() = default;
    ~Cvta_agent_download_managerApp() override = default;

    BOOL InitInstance() override;
    // The exit code of the unattended modes and of a command line that was
    // not understood; 0 for the interactive dialog, which defines none.
    int ExitInstance() override { return static_cast<int>(m_dwExitCode); }

    DECLARE_MESSAGE_MAP()

private:
    DWORD m_dwExitCode = 0;
};
