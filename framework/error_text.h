// System and WinINet errors as text for the log.
#pragma once

#include <windows.h>

#include <string>

// "<number> (<the system's text for it>)" for a Win32 or WinINet error.
std::wstring ErrorText(DWORD error);

// "<what>: <number> (<text>)": a failure and its system error, for the log.
std::wstring ErrorNote(const std::wstring& what, DWORD error);

// "0x<eight hex digits> (<the system's text for it>)" for an HRESULT, as
// WinTrust and the certificate chain checks give them.
std::wstring HresultText(DWORD code);
