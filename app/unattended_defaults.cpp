#include "unattended_defaults.h"

#include <ntsecapi.h>

#include <cwchar>

bool DesktopVisible(const DesktopQueries& queries)
{
    DWORD session = 0;
    if (queries.processSession(::GetCurrentProcessId(), &session) && session == 0)
        return false;
    USEROBJECTFLAGS flags{};
    if (!queries.userObjectInformation(::GetProcessWindowStation(), UOI_FLAGS, &flags, sizeof(flags), nullptr))
        return true;
    return (flags.dwFlags & WSF_VISIBLE) != 0;
}

TempPathQuery SystemTempPathQuery()
{
    // Looked up at run time: older systems lack it.
    const auto tempPath2 = reinterpret_cast<TempPathQuery>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "GetTempPath2W")));
    return tempPath2 ? tempPath2 : &::GetTempPathW;
}

std::wstring DefaultLogFile(const SYSTEMTIME& startedAt, TempPathQuery tempPath)
{
    wchar_t folder[MAX_PATH + 1];
    const DWORD length = tempPath(MAX_PATH + 1, folder);
    ULONG random = ::GetTickCount();
    ::RtlGenRandom(&random, sizeof(random));
    wchar_t name[96];
    std::swprintf(name, std::size(name), L"vta_agent_download_manager_%04u%02u%02u_%02u%02u%02u_%lu_%08lx.log",
                  startedAt.wYear, startedAt.wMonth, startedAt.wDay, startedAt.wHour, startedAt.wMinute,
                  startedAt.wSecond, ::GetCurrentProcessId(), random);
    return std::wstring(folder, length > MAX_PATH ? 0 : length) + name;
}
