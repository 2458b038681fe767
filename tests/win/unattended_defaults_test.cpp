#include <gtest/gtest.h>

#include <atomic>
#include <regex>
#include <thread>

#include "polling.h"
#include "run_log.h"
#include "scratch_directory.h"
#include "unattended_defaults.h"

using namespace std::chrono_literals;

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

DWORD WINAPI SystemTemp(DWORD size, LPWSTR folder)
{
    return static_cast<DWORD>(wcslen(wcsncpy(folder, L"C:\\Windows\\SystemTemp\\", size)));
}

TEST(DesktopVisibility, TheDefaultLogIsNamedAfterItsStartThisProcessAndChanceInTheTemporaryFolder)
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
    // Wine has no GetTempPath2W: the user's folder, as Windows gives it to anybody but SYSTEM.
    const std::wstring name = DefaultLogFile(startedAt);
    const std::wregex expected(L"vta_agent_download_manager_20260307_090502_" +
                               std::to_wstring(::GetCurrentProcessId()) + L"_[0-9a-f]{8}\\.log");
    EXPECT_EQ(name.substr(0, folder.size()), folder);
    EXPECT_TRUE(std::regex_match(name.substr(folder.size()), expected)) << name;
    EXPECT_NE(DefaultLogFile(startedAt), name);
    EXPECT_EQ(DefaultLogFile(startedAt, &SystemTemp).rfind(L"C:\\Windows\\SystemTemp\\vta_agent", 0), 0u);
}

// A usage error where nobody can see a window: a box would wait for a click
// nobody can make. Shown on a thread of its own, so that a box is found and
// closed rather than waited for.
TEST(DesktopVisibility, AUsageErrorNobodyCanSeeGoesToTheLogWithoutAWindow)
{
    const gui_test::ScratchDirectory folder;
    const ParsedCommandLine parsed = ParseCommandLine({L"/bogus", L"/log", folder.PathOf(L"run.log").wstring()});
    g_stationFlags = WSF_VISIBLE;
    g_session = 0;
    g_queriesFail = false;
    std::atomic<DWORD> reporter = 0;
    std::optional<DWORD> exitCode;
    std::thread report([&] {
        reporter = ::GetCurrentThreadId();
        exitCode = ReportUsage(parsed, {&StationFlags, &Session});
    });
    const bool waited = !uidriver::PollUntil([&] { return exitCode.has_value(); }, 3s);
    if (waited)
        ::PostThreadMessageW(reporter, WM_QUIT, 0, 0);
    report.join();

    EXPECT_FALSE(waited) << "a message box waited for a click";
    EXPECT_EQ(exitCode, std::optional<DWORD>(87));
    EXPECT_NE(folder.Read(L"run.log").find("The command line is not understood: Unknown switch: /bogus"),
              std::string::npos);
}

}  // namespace
