// Whether Windows is 64-bit, which decides the agent package.
#pragma once

#include <windows.h>

using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);

// A 64-bit process runs on 64-bit Windows; a 32-bit one does when the system
// has IsWow64Process and it reports TRUE. A missing function or a failed call
// means 32-bit.
bool WindowsIs64Bit(bool process64Bit, IsWow64ProcessFn isWow64Process, HANDLE process);

// The bitness of the Windows this process runs on.
bool RunningOn64BitWindows();
