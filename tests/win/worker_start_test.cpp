#include <gtest/gtest.h>

#include "live_dialog.h"
#include "resource.h"

namespace {

CWinThread* CannotStart(AFX_THREADPROC, LPVOID)
{
    ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
}

// A worker that cannot start leaves nothing running: the dialog says so and
// OK closes it.
TEST(WorkerStart, AWorkerThatCannotStartIsReportedAndOkClosesTheDialog)
{
    bool closed = false;
    WithLiveDialog([&closed](Cvta_agent_download_managerDlg& dialog) {
        dialog.m_pfnBeginThread = &CannotStart;
        const HWND ok = ::GetDlgItem(dialog.m_hWnd, IDOK);
        ::SendMessageW(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(ok));

        EXPECT_EQ(ReadText(dialog, IDC_STATUS), L"The installation could not be started");
        EXPECT_EQ(dialog.m_strLog, CString(L"The installation could not be started ( 8 ).\r\n"));
        EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(dialog.m_hWnd, IDC_DETAILS_LOG)));
        EXPECT_TRUE(::IsWindowEnabled(ok));
        EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(dialog.m_hWnd, IDCANCEL)));

        ::SendMessageW(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(ok));
        closed = !::IsWindow(dialog.m_hWnd) || !::IsWindowVisible(dialog.m_hWnd);
    });
    EXPECT_TRUE(closed);
}

}  // namespace
