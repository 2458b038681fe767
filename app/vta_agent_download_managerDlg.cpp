#include "vta_agent_download_managerDlg.h"

#include <iterator>

#include "accessibility.h"
#include "build_config.h"
#include "exit_codes.h"
#include "resource.h"
#include "run_setup.h"
#include "single_instance.h"

namespace {

// Posted after a DPI change, once the dialog manager has scaled the dialog.
constexpr UINT WM_LAYOUT_BANNER = WM_APP + 2;

constexpr UINT_PTR kCloseTimer = 1;
constexpr wchar_t kShowMoreDetails[] = L"<a>Show more details</a>";
constexpr wchar_t kShowLessDetails[] = L"<a>Show less details</a>";

// The selection controls are the three check boxes followed by the proxy
// controls, hidden in that order.
constexpr int kSelectionCheckBoxes[] = {IDC_CHECK_AGENT, IDC_CHECK_PATCH_MANAGEMENT, IDC_CHECK_USE_PROXY};
constexpr int kProxyControls[] = {IDC_PROXY_HOST_LABEL, IDC_PROXY_PORT_LABEL, IDC_PROXY_USER_LABEL,
                                  IDC_PROXY_PASSWORD_LABEL, IDC_PROXY_HOST,   IDC_PROXY_PORT,
                                  IDC_PROXY_USER,       IDC_PROXY_PASSWORD};
constexpr int kProgressControls[] = {IDC_FILE_PROGRESS_LABEL, IDC_PROGRESS_FILE, IDC_TOTAL_PROGRESS_LABEL,
                                     IDC_PROGRESS_TOTAL, IDC_DETAILS_LINK};
constexpr int kProgressControlsAndLog[] = {IDC_FILE_PROGRESS_LABEL, IDC_PROGRESS_FILE, IDC_TOTAL_PROGRESS_LABEL,
                                           IDC_PROGRESS_TOTAL,      IDC_DETAILS_LOG,   IDC_DETAILS_LINK};

}  // namespace

BEGIN_MESSAGE_MAP(Cvta_agent_download_managerDlg, CDialog)
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_BN_CLICKED(IDOK, &Cvta_agent_download_managerDlg::OnBnClickedOk)
    ON_BN_CLICKED(IDCANCEL, &Cvta_agent_download_managerDlg::OnBnClickedCancel)
    ON_NOTIFY(NM_CLICK, IDC_DETAILS_LINK, &Cvta_agent_download_managerDlg::OnDetailsLink)
    ON_NOTIFY(NM_RETURN, IDC_DETAILS_LINK, &Cvta_agent_download_managerDlg::OnDetailsLink)
    ON_BN_CLICKED(IDC_CHECK_USE_PROXY, &Cvta_agent_download_managerDlg::OnBnClickedUseProxy)
    ON_MESSAGE(WM_RUN_ENDED, &Cvta_agent_download_managerDlg::OnRunEnded)
    ON_MESSAGE(WM_DPICHANGED, &Cvta_agent_download_managerDlg::OnDpiChanged)
    ON_MESSAGE(WM_LAYOUT_BANNER, &Cvta_agent_download_managerDlg::OnLayoutBanner)
    ON_MESSAGE(WM_SETTINGCHANGE, &Cvta_agent_download_managerDlg::OnSettingChange)
    ON_MESSAGE(WM_SYSCOLORCHANGE, &Cvta_agent_download_managerDlg::OnSysColorChange)
    // Registered at run time: the table is made on the dialog's first message.
    ON_MESSAGE(TaskbarButtonCreatedMessage(), &Cvta_agent_download_managerDlg::OnTaskbarButtonCreated)
    ON_MESSAGE(WM_SHOW_TASKBAR_PROGRESS, &Cvta_agent_download_managerDlg::OnShowTaskbarProgress)
    ON_WM_TIMER()
END_MESSAGE_MAP()

UINT InstallThreadProc(LPVOID parameter)
{
    auto& dialog = *static_cast<Cvta_agent_download_managerDlg*>(parameter);
    return RunInstallation(dialog, dialog.m_plan, dialog.m_choices, dialog.m_pLog).threadResult;
}

Cvta_agent_download_managerDlg::Cvta_agent_download_managerDlg(CWnd* parent)
    : CDialog(IDD_VTA_AGENT_DOWNLOAD_MANAGER_DIALOG, parent),
      m_hIcon(::LoadIconW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(IDR_MAINFRAME))),
      m_bDetailsShown(FALSE),
      m_bReadyToStart(FALSE),
      m_hInstanceEvent(nullptr),
      m_pfnBeginThread([](AFX_THREADPROC proc, LPVOID parameter) { return AfxBeginThread(proc, parameter); }),
      m_bRunning(FALSE)
{
}

// Neither closes the single-instance event nor touches the worker: the event
// lives until OK closes it or the process ends.
Cvta_agent_download_managerDlg::~Cvta_agent_download_managerDlg() = default;

void Cvta_agent_download_managerDlg::DoDataExchange(CDataExchange* exchange)
{
    CDialog::DoDataExchange(exchange);
    DDX_Control(exchange, IDC_PROGRESS_FILE, m_progressFile);
    DDX_Control(exchange, IDC_PROGRESS_TOTAL, m_progressTotal);
    DDX_Control(exchange, IDC_DETAILS_LINK, m_linkDetails);
}

BOOL Cvta_agent_download_managerDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);
    m_banner.Layout(m_hWnd);
    ServeAccessibleProgress(m_progressFile.m_hWnd, GetDlgItem(IDC_FILE_PROGRESS_LABEL).m_hWnd);
    ServeAccessibleProgress(m_progressTotal.m_hWnd, GetDlgItem(IDC_TOTAL_PROGRESS_LABEL).m_hWnd);
    MakePoliteLiveRegion(GetDlgItem(IDC_STATUS).m_hWnd);
    LetLinkTakeEnter(m_linkDetails.m_hWnd);
    AcceptTaskbarButtonCreated(m_hWnd);

    if (!AcquireSingleInstance()) {
        ShowRefusedFace();
        if (m_commandLine.mode == UiMode::Passive)
            EndUnattended(exit_codes::kAlreadyRunning);
        return TRUE;
    }

    SendDlgItemMessage(IDC_CHECK_AGENT, BM_SETCHECK, BST_CHECKED);
    // /nopatchmanagement unticks the box, as the user would.
    SendDlgItemMessage(IDC_CHECK_PATCH_MANAGEMENT, BM_SETCHECK,
                       m_commandLine.patchManagement ? BST_CHECKED : BST_UNCHECKED);
    SendDlgItemMessage(IDC_CHECK_USE_PROXY, BM_SETCHECK, BST_UNCHECKED);
    GetDlgItem(IDC_STATUS).SetWindowText(L"Please select applications to be installed:");
    m_linkDetails.SetWindowText(kShowMoreDetails);
    GetDlgItem(IDC_TOTAL_PROGRESS_LABEL).SetWindowText(L"Total progress ( 0% )");
    GetDlgItem(IDC_FILE_PROGRESS_LABEL).SetWindowText(L"");
    HideProgressControls();
    m_bReadyToStart = TRUE;
    GetDlgItem(IDC_CHECK_AGENT).ShowWindow(SW_SHOW);
    GetDlgItem(IDC_CHECK_PATCH_MANAGEMENT).ShowWindow(SW_SHOW);
    // /passive starts at once, as if the user had pressed OK.
    if (m_commandLine.mode == UiMode::Passive)
        PostMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(IDOK).m_hWnd));
    return TRUE;
}

BOOL Cvta_agent_download_managerDlg::AcquireSingleInstance()
{
    const InstanceClaim claim = ClaimSingleInstance(m_pLog);
    m_hInstanceEvent = claim.event;
    return !claim.anotherCopyRuns;
}

void Cvta_agent_download_managerDlg::ShowRefusedFace()
{
    if (HMENU systemMenu = GetSystemMenu(FALSE))
        ::EnableMenuItem(systemMenu, SC_CLOSE, MF_BYCOMMAND | MF_DISABLED | MF_GRAYED);
    GetDlgItem(IDCANCEL).EnableWindow(FALSE);
    HideSelectionControls();
    HideProgressControls();
    GetDlgItem(IDC_STATUS).ShowWindow(SW_HIDE);
    const CWnd message = GetDlgItem(IDC_REFUSAL_MESSAGE);
    message.SetWindowText(L"Another Instance of VTA Agent Download Manager is already running!");
    message.ShowWindow(SW_SHOW);
}

std::optional<ProxySetting> Cvta_agent_download_managerDlg::ProxyOnScreen() const
{
    if (!IsChecked(IDC_CHECK_USE_PROXY))
        return std::nullopt;
    // Taken as typed: the dialog validates nothing.
    return ProxySetting{
        GetDlgItem(IDC_PROXY_HOST).GetWindowText().str() + L":" + GetDlgItem(IDC_PROXY_PORT).GetWindowText().str(),
        {GetDlgItem(IDC_PROXY_USER).GetWindowText().str(), GetDlgItem(IDC_PROXY_PASSWORD).GetWindowText().str()}};
}

void Cvta_agent_download_managerDlg::ShowControls(const int* ids, size_t count, int command) const
{
    for (size_t i = 0; i < count; ++i)
        GetDlgItem(ids[i]).ShowWindow(command);
}

void Cvta_agent_download_managerDlg::HideSelectionControls()
{
    m_bReadyToStart = FALSE;
    ShowControls(kSelectionCheckBoxes, std::size(kSelectionCheckBoxes), SW_HIDE);
    ShowControls(kProxyControls, std::size(kProxyControls), SW_HIDE);
}

void Cvta_agent_download_managerDlg::ShowProgressControls()
{
    ShowControls(kProgressControls, std::size(kProgressControls), SW_SHOW);
}

void Cvta_agent_download_managerDlg::HideProgressControls()
{
    ShowControls(kProgressControlsAndLog, std::size(kProgressControlsAndLog), SW_HIDE);
}

void Cvta_agent_download_managerDlg::OnBnClickedOk()
{
    if (m_bReadyToStart) {
        HideSelectionControls();
        ShowProgressControls();
        StartInstallation();
        return;
    }
    // While the worker runs, OK is disabled; a command sent from elsewhere
    // must not end the dialog under it.
    if (!m_bRunning)
        Close();
}

void Cvta_agent_download_managerDlg::Close()
{
    if (m_hInstanceEvent) {
        ::CloseHandle(m_hInstanceEvent);
        m_hInstanceEvent = nullptr;
    }
    CDialog::OnOK();
}

void Cvta_agent_download_managerDlg::StartInstallation()
{
    // The choices are complete before the worker starts, which alone reads
    // them from here on. The proxy of the command line comes with its own
    // credentials.
    m_choices.patchManagement = IsChecked(IDC_CHECK_PATCH_MANAGEMENT);
    if (!m_commandLine.proxy)
        m_choices.agentProxy = ProxyOnScreen();
    m_plan = PlanPackages(m_choices, ThisRunPlace());
    m_bRunning = TRUE;
    if (m_pfnBeginThread(&InstallThreadProc, this)) {
        GetDlgItem(IDOK).EnableWindow(FALSE);
        return;
    }
    // Nothing runs: say so, and leave OK enabled to close the dialog.
    const DWORD error = ::GetLastError();
    m_bRunning = FALSE;
    ShowStatus(L"The installation could not be started");
    AddDetail(L"The installation could not be started ( " + std::to_wstring(error) + L" ).");
    ShowDetails();
    GetDlgItem(IDCANCEL).EnableWindow(FALSE);
    if (m_commandLine.mode == UiMode::Passive)
        EndUnattended(exit_codes::CausedBy(error, exit_codes::kNotStarted));
}

void Cvta_agent_download_managerDlg::EndUnattended(DWORD exitCode)
{
    m_dwExitCode = exitCode;
    SetTimer(kCloseTimer, kPassiveCloseDelayMs);
}

void Cvta_agent_download_managerDlg::OnTimer(UINT_PTR id)
{
    if (id != kCloseTimer)
        return;
    KillTimer(kCloseTimer);
    Close();
}

// Never waits for the worker: a blocked dialog thread would stop the worker at
// its next synchronous report.
void Cvta_agent_download_managerDlg::OnBnClickedCancel()
{
    if (m_bReadyToStart) {
        CDialog::OnCancel();
        return;
    }
    m_cancelEvent.SetEvent();
}

LRESULT Cvta_agent_download_managerDlg::OnRunEnded(WPARAM, LPARAM result)
{
    const RunResult& ending = *reinterpret_cast<const RunResult*>(result);
    m_bRunning = FALSE;
    GetDlgItem(IDOK).EnableWindow(TRUE);
    if (m_taskbar && ending.threadResult == RunResult::kCompleted)
        m_taskbar->Clear();
    else if (m_taskbar)
        m_taskbar->ShowError();
    if (m_commandLine.mode == UiMode::Passive)
        EndUnattended(ending.exitCode);
    return 0;
}

// Moved to a monitor of another scale: the dialog takes the rectangle Windows
// suggests, and the dialog manager scales its fonts and controls for the new
// DPI in the default processing, which stretches the banner's picture; the
// banner is therefore laid out again afterwards.
LRESULT Cvta_agent_download_managerDlg::OnDpiChanged(WPARAM, LPARAM suggestedRect)
{
    const RECT& rect = *reinterpret_cast<const RECT*>(suggestedRect);
    ::SetWindowPos(m_hWnd, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    PostMessage(WM_LAYOUT_BANNER);
    Default();
    return 0;
}

LRESULT Cvta_agent_download_managerDlg::OnLayoutBanner(WPARAM, LPARAM)
{
    m_banner.Layout(m_hWnd);
    return 0;
}

// High contrast on or off: the banner follows.
LRESULT Cvta_agent_download_managerDlg::OnSettingChange(WPARAM setting, LPARAM)
{
    if (setting == SPI_SETHIGHCONTRAST)
        m_banner.Layout(m_hWnd);
    return 0;
}

// Another colour scheme: a high-contrast banner takes its colours.
LRESULT Cvta_agent_download_managerDlg::OnSysColorChange(WPARAM, LPARAM)
{
    m_banner.Layout(m_hWnd);
    return 0;
}

LRESULT Cvta_agent_download_managerDlg::OnTaskbarButtonCreated(WPARAM, LPARAM)
{
    // The taskbar sends it again when it restarts: a new button.
    m_taskbar = m_pfnTaskbarProgress(m_hWnd);
    return 0;
}

LRESULT Cvta_agent_download_managerDlg::OnShowTaskbarProgress(WPARAM done, LPARAM total)
{
    if (m_taskbar)
        m_taskbar->Show(done, static_cast<ULONGLONG>(total));
    return 0;
}

void Cvta_agent_download_managerDlg::OnDetailsLink(NMHDR*, LRESULT* result)
{
    SetDetailsShown(!m_bDetailsShown);
    *result = 0;
}

void Cvta_agent_download_managerDlg::ShowDetails()
{
    if (!m_bDetailsShown)
        SetDetailsShown(TRUE);
}

void Cvta_agent_download_managerDlg::SetDetailsShown(BOOL shown)
{
    GetDlgItem(IDC_DETAILS_LOG).ShowWindow(shown ? SW_SHOW : SW_HIDE);
    // New text drops the focus of the link's item: a keyboard user's next
    // Enter would do nothing. The item gets it back where it had it.
    LITEM item{};
    item.mask = LIF_ITEMINDEX | LIF_STATE;
    item.stateMask = LIS_FOCUSED;
    m_linkDetails.SendMessage(LM_GETITEM, 0, reinterpret_cast<LPARAM>(&item));
    m_linkDetails.SetWindowText(shown ? kShowLessDetails : kShowMoreDetails);
    if (item.state & LIS_FOCUSED)
        m_linkDetails.SendMessage(LM_SETITEM, 0, reinterpret_cast<LPARAM>(&item));
    m_bDetailsShown = shown;
}

void Cvta_agent_download_managerDlg::OnBnClickedUseProxy()
{
    ShowControls(kProxyControls, std::size(kProxyControls), IsChecked(IDC_CHECK_USE_PROXY) ? SW_SHOW : SW_HIDE);
}

void Cvta_agent_download_managerDlg::OnPaint()
{
    if (!IsIconic()) {
        CDialog::OnPaint();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()));
    RECT client;
    GetClientRect(&client);
    const int x = (client.right - client.left - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - client.top - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    dc.DrawIcon(x, y, m_hIcon);
}

HCURSOR Cvta_agent_download_managerDlg::OnQueryDragIcon()
{
    return static_cast<HCURSOR>(m_hIcon);
}
