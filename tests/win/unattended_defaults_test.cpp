#include <gtest/gtest.h>

#include "unattended_defaults.h"

namespace {

// Answers of the window station's flags and of the process's session.
DWORD g_stationFlags = WSF_VISIBLE;
DWORD g_session = 1;
bool g_queriesFail = false;

BOOL WINAPI StationFlags(HANDLE, int index, PVOID information, DWORD size, LPDWORD)
{
    if (g_queriesFail || index != UOI_FLAGS || size < sizeof(USEROBJECTFLAGS))
        return FALSE;
    *static_cast<USEROBJECTFLAGS*>(information) = USEROBJECTFLAGS{FALSE, FALSE, g_stationFlags};
    return TRUE;
}

BOOL WINAPI Session(DWORD, DWORD* session)
{
    *session = g_session;
    return !g_queriesFail;
}

bool VisibleWith(DWORD flags, DWORD session, bool queriesFail = false)
{
    g_stationFlags = flags;
    g_session = session;
    g_queriesFail = queriesFail;
    return DesktopVisible({&StationFlags, &Session});
}

TEST(DesktopVisibility, OnlyAVisibleWindowStationOutsideSessionZeroIsSeen)
{
    EXPECT_TRUE(VisibleWith(WSF_VISIBLE, 1));
    EXPECT_FALSE(VisibleWith(0, 1));            // a service's own window station
    EXPECT_FALSE(VisibleWith(WSF_VISIBLE, 0));  // SYSTEM in the services' session
    // Without an answer the dialog stays as it always was.
    EXPECT_TRUE(VisibleWith(0, 0, true));
    // This process, on the Wine session's desktop, is seen.
    EXPECT_TRUE(DesktopVisible());
}

TEST(DesktopVisibility, TheDefaultLogIsNamedAfterItsStartInTheTemporaryFolder)
{
    wchar_t temp[MAX_PATH + 1];
    const std::wstring folder(temp, ::GetTempPathW(MAX_PATH + 1, temp));
    SYSTEMTIME startedAt{};
    startedAt.wYear = 2026;
    startedAt.wMonth = 3;
    startedAt.wDay = 7;
    startedAt.wHour = 9;
    startedAt.wMinute = 5;
    startedAt.wSecond = 2;
    EXPECT_EQ(DefaultLogFile(startedAt), folder + L"vta_agent_download_manager_20260307_090502.log");
}

}  // namespace
