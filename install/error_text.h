#pragma once

#include <windows.h>

#include <string>

// "<number> (<the system's text for it>)" for a Win32 or WinINet error.
std::wstring ErrorText(DWORD error);
