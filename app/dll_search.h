#pragma once

#include <windows.h>

// The system's SetDefaultDllDirectories, looked up by name: systems without
// the update that brought it lack it (null then).
using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
SetDefaultDllDirectoriesFunction SystemSetDefaultDllDirectories();

// Makes every DLL the program loads from now on come from the system
// directory, never from the program's own folder or the current one, and
// loads the delay-loaded DLLs (WinINet, CNG, the certificate functions,
// WinTrust) from there, so that their first use finds those copies. The
// program runs elevated, usually from a Downloads folder any program can
// write to. Without SetDefaultDllDirectories only the current folder can be
// left out of the search; the program's own folder stays in it.
void HardenDllSearch(SetDefaultDllDirectoriesFunction setDefaultDllDirectories = SystemSetDefaultDllDirectories());
