// The dialog's side of an installation run. It runs on the worker thread;
// every control access below is a synchronous window message served by the
// dialog's thread.
#include <algorithm>
#include <climits>

#include "accessibility.h"
#include "progress_math.h"
#include "resource.h"
#include "vta_agent_download_managerDlg.h"

void Cvta_agent_download_managerDlg::SetStatusText(LPCWSTR text)
{
    const CWnd status = GetDlgItem(IDC_STATUS);
    status.SetWindowText(text);
    AnnounceLiveRegion(status.m_hWnd);
}

void Cvta_agent_download_managerDlg::AppendLog(CString text)
{
    m_strLog += text;
    const CWnd log = GetDlgItem(IDC_DETAILS_LOG);
    log.SetWindowText(m_strLog);
    const LRESULT lines = log.SendMessage(EM_GETLINECOUNT);
    log.SendMessage(EM_LINESCROLL, 0, lines);
}

void Cvta_agent_download_managerDlg::UpdateDownloadProgress(LONGLONG bytesDone, LONGLONG bytesTotal)
{
    // Without a positive total there is no proportion to show.
    if (bytesTotal <= 0)
        return;

    const progress::BarPosition fileBar = progress::FileBar(bytesDone, bytesTotal);
    m_progressFile.SetRange32(0, fileBar.upper);
    m_progressFile.SetPos(fileBar.position);
    GetDlgItem(IDC_FILE_PROGRESS_LABEL).SetWindowText(progress::FileLabel(bytesDone, bytesTotal).c_str());
    AnnounceProgressName(m_progressFile.m_hWnd);

    // Each package of the run has an equal share.
    const int files = static_cast<int>(std::max<size_t>(m_plan.packages.size(), 1));
    const int units = files * progress::kUnitsPerFile;
    m_progressTotal.SetRange(0, static_cast<short>(units));
    const int shown = m_progressTotal.GetPos();
    const LONGLONG next = progress::NextTotalPosition(shown, bytesDone, bytesTotal, files);
    m_progressTotal.SetPos(static_cast<int>(std::min<LONGLONG>(next, INT_MAX)));
    // Read back: the bar clamps a position beyond its range.
    const int position = m_progressTotal.GetPos();
    GetDlgItem(IDC_TOTAL_PROGRESS_LABEL).SetWindowText(progress::TotalLabel(position, units).c_str());
    if (position != shown) {
        AnnounceProgressName(m_progressTotal.m_hWnd);
        SendMessage(WM_SHOW_TASKBAR_PROGRESS, static_cast<WPARAM>(position), units);
    }
}

void Cvta_agent_download_managerDlg::SetProgressComplete()
{
    m_progressFile.SetRange32(0, 100);
    m_progressFile.SetPos(100);
    m_progressTotal.SetRange(0, 100);
    m_progressTotal.SetPos(100);
    GetDlgItem(IDC_TOTAL_PROGRESS_LABEL).SetWindowText(L"Total progress ( 100% )");
    AnnounceProgressName(m_progressTotal.m_hWnd);
    SendMessage(WM_SHOW_TASKBAR_PROGRESS, 100, 100);
}

// The worker's last touch of the dialog: the dialog's thread takes over from
// here, enabling OK, and the worker only returns after this. A run that did
// not complete shows both bars full and its details; Cancel goes before OK.
void Cvta_agent_download_managerDlg::RunEnded(const RunResult& result)
{
    if (result.threadResult != RunResult::kCompleted) {
        SetProgressComplete();
        ShowDetails();
        GetDlgItem(IDCANCEL).EnableWindow(FALSE);
    }
    SendMessage(WM_RUN_ENDED, 0, reinterpret_cast<LPARAM>(&result));
}
