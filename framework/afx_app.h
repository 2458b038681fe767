#pragma once

#include "afx_wnd.h"

#include <string>
#include <vector>

// Command id of the framework's help command.
constexpr UINT ID_HELP = 0xE146;

// The application object. Exactly one exists, constructed as a global before
// the entry point runs; the entry point runs its InitInstance.
class CWinApp : public CCmdTarget {
public:
    explicit CWinApp(LPCWSTR appName = nullptr);
    ~CWinApp() override;
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // FALSE ends the application once it returns.
    virtual BOOL InitInstance() { return TRUE; }
    // The process's exit code, once the application ends.
    virtual int ExitInstance() { return 0; }

    // The program keeps no settings, so the key is only remembered.
    void SetRegistryKey(LPCWSTR key) { m_strRegistryKey = key; }

    // Default help handler: the program ships no help file.
    void OnHelp() {}

    CWnd* m_pMainWnd = nullptr;
    CString m_strRegistryKey;

    DECLARE_MESSAGE_MAP()
};

CWinApp* AfxGetApp();
HINSTANCE AfxGetInstanceHandle();

// The running executable's file name without directory and extension.
CString AfxGetExeBaseName();

// The program's command-line arguments after its own name, as Windows
// splits them.
std::vector<std::wstring> AfxGetArguments();

// Hosted (ActiveX) controls need no set-up here: the dialog hosts none.
inline void AfxEnableControlContainer() {}
