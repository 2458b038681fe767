#pragma once

#include "afxwin.h"

class Cvta_agent_download_managerApp : public CWinApp {
public:
    Cvta_agent_download_managerApp() = default;
    ~Cvta_agent_download_managerApp() override = default;

    BOOL InitInstance() override;

    DECLARE_MESSAGE_MAP()
};
