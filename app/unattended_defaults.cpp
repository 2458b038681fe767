#include "unattended_defaults.h"

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

std::wstring DefaultLogFile(const SYSTEMTIME& startedAt)
{
    wchar_t folder[MAX_PATH + 1];
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, folder);
    wchar_t name[64];
    std::swprintf(name, std::size(name), L"vta_agent_download_manager_%04u%02u%02u_%02u%02u%02u.log",
                  startedAt.wYear, startedAt.wMonth, startedAt.wDay, startedAt.wHour, startedAt.wMinute,
                  startedAt.wSecond);
    return std::wstring(folder, length > MAX_PATH ? 0 : length) + name;
}
