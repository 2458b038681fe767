// System and WinINet errors as text for the log.
#pragma once

#include <windows.h>

#include <string>

// "<number> (<the system's text for it>)" for a Win32 or WinINet error.
std::wstring ErrorText(DWORD error);

// "0x<eight hex digits> (<the system's text for it>)" for an HRESULT, as
// WinTrust and the certificate chain checks give them.
std::wstring HresultText(DWORD code);
