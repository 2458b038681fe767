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

// The log of an unattended run that names none: in the temporary folder
// (the user's, or the system's for SYSTEM), named after the local time
// `startedAt`, as vta_agent_download_manager_<yyyyMMdd_HHmmss>.log.
std::wstring DefaultLogFile(const SYSTEMTIME& startedAt);
