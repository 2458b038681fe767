#pragma once

#include <memory>

#include "afxwin.h"
#include "banner_control.h"
#include "command_line_options.h"
#include "installation_files.h"
#include "installation_host.h"
#include "installation_options.h"
#include "log_file.h"
#include "taskbar_progress.h"

// Sent by the worker when the total bar moved (wParam done of lParam), to
// the dialog's thread, which alone touches the taskbar's object.
inline constexpr UINT WM_SHOW_TASKBAR_PROGRESS = WM_APP + 3;

// The program's only window. Its object is shared by the dialog's thread and
// the installation worker: the worker reads and writes the installation's
// files and details and reports through the InstallationHost operations,
// which touch the controls only through synchronous window messages. The
// dialog's thread must therefore keep dispatching messages for as long as
// the worker runs, and never waits for it.
class Cvta_agent_download_managerDlg : public CDialog, public InstallationFiles, public InstallationHost {
public:
    explicit Cvta_agent_download_managerDlg(CWnd* parent = nullptr);
    ~Cvta_agent_download_managerDlg() override;

    // InstallationHost, called on the worker thread.
    bool PatchManagementSelected() override;
    std::optional<std::wstring> AgentProxy() override;
    ProxyCredentials AgentProxyCredentials() override;
    void SetStatusText(LPCWSTR text) override;
    void AppendLog(CString text) override;
    void UpdateDownloadProgress(LONGLONG bytesDone, LONGLONG bytesTotal) override;
    void SetProgressComplete() override;
    void ShowDetails() override;
    void EnableButton(int id, BOOL enable) override;
    void Note(const std::wstring&) override {}
    void RunEnded(const RunResult& result) override;
    HANDLE CancelEvent() override { return m_cancelEvent.m_hObject; }

    // BM_GETCHECK of a check box reads 1.
    bool IsChecked(int id) const { return SendDlgItemMessage(id, BM_GETCHECK) == BST_CHECKED; }

    HICON m_hIcon;
    CEvent m_cancelEvent;
    BOOL m_bDetailsShown;
    BOOL m_bReadyToStart;
    CString m_strLog;
    HANDLE m_hInstanceEvent;
    CProgressCtrl m_progressFile;
    CProgressCtrl m_progressTotal;
    CLinkCtrl m_linkDetails;

    // How this start of the program runs, and how its run installs; set
    // before the dialog runs.
    CommandLineOptions m_commandLine;
    InstallationOptions m_options;
    LogFile* m_pLog = nullptr;
    // The exit code /passive ends the program with.
    DWORD m_dwExitCode = 0;
    // Starts the installation worker. Tests put a stand-in here that fails.
    CWinThread* (*m_pfnBeginThread)(AFX_THREADPROC proc, LPVOID parameter);
    // Makes the taskbar button's progress once the taskbar has made the
    // button. Tests put a recorder here.
    std::unique_ptr<TaskbarProgress> (*m_pfnTaskbarProgress)(HWND window) = &SystemTaskbarProgress;
    CBannerControl m_banner;

protected:
    void DoDataExchange(CDataExchange* exchange) override;
    BOOL OnInitDialog() override;

    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnBnClickedOk();
    void OnBnClickedCancel();
    // A click on the details link, or Enter on it.
    void OnDetailsLink(NMHDR* header, LRESULT* result);
    void OnBnClickedUseProxy();
    LRESULT OnRunEnded(WPARAM, LPARAM result);
    LRESULT OnDpiChanged(WPARAM, LPARAM suggestedRect);
    LRESULT OnLayoutBanner(WPARAM, LPARAM);
    LRESULT OnSettingChange(WPARAM setting, LPARAM);
    LRESULT OnSysColorChange(WPARAM, LPARAM);
    LRESULT OnTaskbarButtonCreated(WPARAM, LPARAM);
    LRESULT OnShowTaskbarProgress(WPARAM done, LPARAM total);
    void OnTimer(UINT_PTR id);

    DECLARE_MESSAGE_MAP()

private:
    BOOL AcquireSingleInstance();
    void ShowRefusedFace();
    void DetermineInstallerNames();
    void HideSelectionControls();
    void ShowProgressControls();
    void HideProgressControls();
    void ShowControls(const int* ids, size_t count, int command) const;
    void SetDetailsShown(BOOL shown);
    void StartInstallation();
    // /passive: the dialog closes itself a few seconds after the run ended
    // with this exit code.
    void EndUnattended(DWORD exitCode);
    void Close();

    // TRUE from the start of the worker to its RunEnded; read and written on
    // the dialog's thread only.
    BOOL m_bRunning;
    // Made on the dialog's thread, which alone touches it.
    std::unique_ptr<TaskbarProgress> m_taskbar;
};

// The installation worker; its only parameter is the dialog.
UINT InstallThreadProc(LPVOID dialog);
