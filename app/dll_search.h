#pragma once

// Makes every DLL the program loads from now on come from the system
// directory, never from the program's own folder or the current one, and
// loads the delay-loaded DLLs (WinINet, CNG, the certificate functions,
// WinTrust) from there, so that their first use finds those copies. The
// program runs elevated, usually from a Downloads folder any program can
// write to.
void HardenDllSearch();
