#pragma once

#include <memory>

#include "afxwin.h"
#include "banner_control.h"
#include "command_line_options.h"
#include "installation_host.h"
#include "log_file.h"
#include "package_plan.h"
#include "run_choices.h"
#include "taskbar_progress.h"

// Sent by the worker as its last touch of the dialog; lParam points to its RunResult.
inline constexpr UINT WM_RUN_ENDED = WM_APP + 1;
// Sent by the worker when the total bar moved (wParam done of lParam), to
// the dialog's thread, which alone touches the taskbar's object.
inline constexpr UINT WM_SHOW_TASKBAR_PROGRESS = WM_APP + 3;

// The program's only window. Its object is shared by the dialog's thread and
// the installation worker: the worker reads the run's choices and plan,
// which the dialog's thread writes only before it starts the worker, and
// reports through the InstallationHost operations, which touch the controls
// only through synchronous window messages. The dialog's thread must
// therefore keep dispatching messages for as long as the worker runs, and
// never waits for it.
class Cvta_agent_download_managerDlg : public CDialog, public InstallationHost {
public:
    explicit Cvta_agent_download_managerDlg(CWnd* parent = nullptr);
    ~Cvta_agent_download_managerDlg() override;

    // InstallationHost, called on the worker thread.
    void ShowStatus(const std::wstring& text) override { SetStatusText(text.c_str()); }
    void AddDetail(const std::wstring& line) override { AppendLog((line + L"\r\n").c_str()); }
    void ShowProgress(LONGLONG bytesDone, LONGLONG bytesTotal) override
    {
        UpdateDownloadProgress(bytesDone, bytesTotal);
    }
    void Note(const std::wstring&) override {}
    void AllowCancel(bool allowed) override { GetDlgItem(IDCANCEL).EnableWindow(allowed); }
    void RunEnded(const RunResult& result) override;
    HANDLE CancelEvent() override { return m_cancelEvent.m_hObject; }

    // The controls the run's reports change.
    void SetStatusText(LPCWSTR text);
    void AppendLog(CString text);
    void UpdateDownloadProgress(LONGLONG bytesDone, LONGLONG bytesTotal);
    void SetProgressComplete();
    void ShowDetails();

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
    // before the dialog runs, and completed by OK from the ticks and proxy
    // fields, with the plan, before the worker starts.
    CommandLineOptions m_commandLine;
    RunChoices m_choices;
    PackagePlan m_plan;
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
    // The agent's proxy as the fields give it, when no /proxy gave one.
    std::optional<ProxySetting> ProxyOnScreen() const;
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
