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

    const int units = IsChecked(IDC_CHECK_PATCH_MANAGEMENT) ? 2 * progress::kUnitsPerFile : progress::kUnitsPerFile;
    m_progressTotal.SetRange(0, static_cast<short>(units));
    const int shown = m_progressTotal.GetPos();
    const LONGLONG next = progress::NextTotalPosition(shown, bytesDone, bytesTotal);
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

void Cvta_agent_download_managerDlg::ShowDetails()
{
    if (!m_bDetailsShown)
        SetDetailsShown(TRUE);
}

bool Cvta_agent_download_managerDlg::PatchManagementSelected()
{
    return IsChecked(IDC_CHECK_PATCH_MANAGEMENT);
}

std::optional<std::wstring> Cvta_agent_download_managerDlg::AgentProxy()
{
    if (m_commandLine.proxy)
        return m_commandLine.proxy;
    if (!IsChecked(IDC_CHECK_USE_PROXY))
        return std::nullopt;
    // Taken as typed: the dialog validates nothing.
    return GetDlgItem(IDC_PROXY_HOST).GetWindowText().str() + L":" + GetDlgItem(IDC_PROXY_PORT).GetWindowText().str();
}

ProxyCredentials Cvta_agent_download_managerDlg::AgentProxyCredentials()
{
    // The proxy of the command line comes with its own credentials.
    if (m_commandLine.proxy)
        return {m_commandLine.proxyUser.value_or(L""), m_commandLine.proxyPassword.value_or(L"")};
    return {GetDlgItem(IDC_PROXY_USER).GetWindowText().str(), GetDlgItem(IDC_PROXY_PASSWORD).GetWindowText().str()};
}

void Cvta_agent_download_managerDlg::EnableButton(int id, BOOL enable)
{
    GetDlgItem(id).EnableWindow(enable);
}
