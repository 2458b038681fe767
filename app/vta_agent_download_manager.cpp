#include "vta_agent_download_manager.h"

#include <commctrl.h>

#include "dll_search.h"
#include "vta_agent_download_managerDlg.h"

namespace {

// Before any other code of the program runs, constructors included.
struct DllSearchHardening {
    DllSearchHardening() { HardenDllSearch(); }
};
DllSearchHardening g_dllSearchHardening __attribute__((init_priority(101)));

}  // namespace

BEGIN_MESSAGE_MAP(Cvta_agent_download_managerApp, CWinApp)
    ON_COMMAND(ID_HELP, &CWinApp::OnHelp)
END_MESSAGE_MAP()

// The one application object.
Cvta_agent_download_managerApp theApp;

BOOL Cvta_agent_download_managerApp::InitInstance()
{
    // The progress bars need the Win95 classes; the link control comes with
    // the version 6 common controls that the manifest names.
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_WIN95_CLASSES;
    ::InitCommonControlsEx(&controls);

    CWinApp::InitInstance();
    AfxEnableControlContainer();
    SetRegistryKey(L"Local AppWizard-Generated Applications");

    Cvta_agent_download_managerDlg dialog;
    m_pMainWnd = &dialog;
    dialog.DoModal();
    m_pMainWnd = nullptr;

    // FALSE: end the application rather than enter a message loop.
    return FALSE;
}
