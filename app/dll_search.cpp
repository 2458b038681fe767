#include "dll_search.h"

#include <windows.h>

#include "system_directory.h"

void HardenDllSearch()
{
    // Looked up by name: older systems without the update that brought it
    // lack it, and can at least leave the current folder out of the search.
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    const auto setDefaultDllDirectories = reinterpret_cast<SetDefaultDllDirectoriesFn>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32"), "SetDefaultDllDirectories")));
    if (!setDefaultDllDirectories || !setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32))
        ::SetDllDirectoryW(L"");
    // A module already loaded is what a later load by bare name gets, on
    // every version of Windows: the delay-loaded DLLs, loaded here from the
    // system directory, are the ones their first use finds. Kept for the
    // life of the process.
    for (const wchar_t* dll : {L"wininet.dll", L"bcrypt.dll", L"crypt32.dll", L"wintrust.dll"})
        ::LoadLibraryW(InSystemDirectory(dll).c_str());
}
