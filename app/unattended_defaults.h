#pragma once

#include <windows.h>

#include <string>

// What a run that nobody watches needs, decided before its log opens.

// The system calls that tell whether anybody can see the program's windows;
// tests give chosen answers.
struct DesktopQueries {
    BOOL(WINAPI* userObjectInformation)(HANDLE, int, PVOID, DWORD, LPDWORD) = &::GetUserObjectInformationW;
    BOOL(WINAPI* processSession)(DWORD, DWORD*) = &::ProcessIdToSessionId;
};

// Whether the program's windows can be seen: its window station is the
// visible one and it runs outside session 0, where services run (a
// deployment tool running as SYSTEM starts it there). A query that fails
// counts as seen: the dialog stays as it always was.
bool DesktopVisible(const DesktopQueries& queries = {});

// How the temporary folder is asked for: GetTempPath2W where the system has
// it (for SYSTEM, a folder only SYSTEM and administrators can use; for
// anybody else the same as GetTempPathW), else GetTempPathW.
using TempPathQuery = DWORD(WINAPI*)(DWORD, LPWSTR);
TempPathQuery SystemTempPathQuery();

// The log of an unattended run that names none: in the temporary folder
// `tempPath` gives, named after the local time `startedAt`, this process
// and a random part, as
// vta_agent_download_manager_<yyyyMMdd_HHmmss>_<pid>_<random>.log: nobody
// can plant entries at a name before the run makes it.
std::wstring DefaultLogFile(const SYSTEMTIME& startedAt, TempPathQuery tempPath = SystemTempPathQuery());
