#pragma once

#include "afxwin.h"

// The program's only window. Its object is shared by the dialog's thread and
// the installation worker: the worker reads and writes the strings below and
// reports through the operations of the "Reporting" group, which touch the
// controls only through synchronous window messages. The dialog's thread must
// therefore keep dispatching messages for as long as the worker runs.
class Cvta_agent_download_managerDlg : public CDialog {
public:
    explicit Cvta_agent_download_managerDlg(CWnd* parent = nullptr);
    ~Cvta_agent_download_managerDlg() override;

    // Reporting, called on the worker thread.
    void SetStatusText(LPCWSTR text);
    void AppendLog(CString text);
    void UpdateDownloadProgress(LONGLONG bytesDone, LONGLONG bytesTotal);
    void SetProgressComplete();
    void ShowDetails();

    // Worker-thread steps that work on the dialog's data.
    int RetrievePatchDownloadDetails();
    void DerivePatchInstallerFile();

    // BM_GETCHECK of a check box reads 1.
    bool IsChecked(int id) const { return SendDlgItemMessage(id, BM_GETCHECK) == BST_CHECKED; }

    HICON m_hIcon;
    CEvent m_cancelEvent;
    CString m_strAgentInstallerFile;
    BOOL m_bDetailsShown;
    BOOL m_bReadyToStart;
    CString m_strLog;
    CString m_strSetupToken;
    CString m_strPatchInstallCommand;
    CString m_strPatchDownloadUrl;
    CString m_strPatchInstallerFile;
    HANDLE m_hInstanceEvent;
    CProgressCtrl m_progressFile;
    CProgressCtrl m_progressTotal;
    CLinkCtrl m_linkDetails;

protected:
    void DoDataExchange(CDataExchange* exchange) override;
    BOOL OnInitDialog() override;

    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnBnClickedOk();
    void OnBnClickedCancel();
    void OnNMClickDetailsLink(NMHDR* header, LRESULT* result);
    void OnBnClickedUseProxy();

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
};
