#include "vta_agent_download_manager.h"

#include <commctrl.h>
#include <objbase.h>

#include <optional>

#include "command_line_options.h"
#include "dll_search.h"
#include "log_file.h"
#include "package_signers.h"
#include "quiet_run.h"
#include "run_log.h"
#include "run_setup.h"
#include "unattended_defaults.h"
#include "vta_agent_download_managerDlg.h"

namespace {

// Before any other code of the program runs, constructors included.
struct DllSearchHardening {
    DllSearchHardening() { HardenDllSearch(); }
};
DllSearchHardening g_dllSearchHardening __attribute__((init_priority(101)));

// COM on this thread while the object lives.
struct ComApartment {
    ComApartment() { ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    ~ComApartment() { ::CoUninitialize(); }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
};

}  // namespace

BEGIN_MESSAGE_MAP(Cvta_agent_download_managerApp, CWinApp)
    ON_COMMAND(ID_HELP, &CWinApp::OnHelp)
END_MESSAGE_MAP()

// The one application object.
Cvta_agent_download_managerApp theApp;

BOOL Cvta_agent_download_managerApp::InitInstance()
{
    const ParsedCommandLine parsed = ParseCommandLine(AfxGetArguments());
    if (!parsed.options || parsed.options->help) {
        m_dwExitCode = ReportUsage(parsed);
        return FALSE;
    }
    CommandLineOptions options = *parsed.options;
    // A dialog nobody can see would wait for OK until whoever started the
    // program kills it.
    const bool unseen = options.mode == UiMode::Interactive && !DesktopVisible();
    if (unseen)
        options.mode = UiMode::Quiet;
    // A run that nobody watches always leaves a log to read.
    if (options.mode != UiMode::Interactive && !options.logFile) {
        SYSTEMTIME now;
        ::GetLocalTime(&now);
        options.logFile = DefaultLogFile(now);
    }
    std::optional<LogFile> log;
    if (options.logFile)
        log.emplace(*options.logFile);
    LogFile* const logFile = log && log->IsOpen() ? &*log : nullptr;
    if (logFile)
        StartLog(*logFile, options.proxyPassword);
    if (logFile && unseen)
        logFile->Write(L"No window of the program can be seen (its window station is not visible, or it runs in "
                       L"session 0): it runs as with /quiet");

    const RunChoices choices = RunChoicesFor(options, kPackageSigners);
    if (options.mode == UiMode::Quiet) {
        m_dwExitCode = RunQuietly(choices, logFile);
    } else {
        // The progress bars need the Win95 classes; the link control comes
        // with the version 6 common controls that the manifest names.
        INITCOMMONCONTROLSEX controls{};
        controls.dwSize = sizeof(controls);
        controls.dwICC = ICC_WIN95_CLASSES;
        ::InitCommonControlsEx(&controls);

        CWinApp::InitInstance();
        AfxEnableControlContainer();
        // Assistive technology and the taskbar reach the dialog through COM.
        const ComApartment com;
        SetRegistryKey(L"Local AppWizard-Generated Applications");

        Cvta_agent_download_managerDlg dialog;
        dialog.m_commandLine = options;
        dialog.m_choices = choices;
        dialog.m_pLog = logFile;
        m_pMainWnd = &dialog;
        dialog.DoModal();
        m_pMainWnd = nullptr;
        if (options.mode == UiMode::Passive)
            m_dwExitCode = dialog.m_dwExitCode;
    }
    if (logFile)
        logFile->Write(L"Exit code " + std::to_wstring(m_dwExitCode));
    // FALSE: end the application rather than enter a message loop.
    return FALSE;
}
