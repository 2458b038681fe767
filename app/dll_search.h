#pragma once

// Makes every DLL the program loads from now on come from the system
// directory, never from the program's own folder or the current one, and
// loads WinINet from there, so that its first use (it is delay-loaded)
// finds that copy. The program runs elevated, usually from a Downloads
// folder any program can write to.
void HardenDllSearch();
