#include "dll_search.h"

#include "system_directory.h"

SetDefaultDllDirectoriesFunction SystemSetDefaultDllDirectories()
{
    return reinterpret_cast<SetDefaultDllDirectoriesFunction>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32"), "SetDefaultDllDirectories")));
}

void HardenDllSearch(SetDefaultDllDirectoriesFunction setDefaultDllDirectories)
{
    const bool restricted = setDefaultDllDirectories && setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    // Without the restriction, the system directory takes the current
    // folder's place in the search. (An empty DLL directory would only drop
    // the current folder; Wine ignores an empty one.)
    if (!restricted)
        ::SetDllDirectoryW(InSystemDirectory(L"").c_str());
    // A module already loaded is what a later load by bare name gets, on
    // every version of Windows: the delay-loaded DLLs, loaded here from the
    // system directory, are the ones their first use finds. Kept for the
    // life of the process. Without the restriction, the DLLs these import
    // would still be searched for in the program's folder first: the altered
    // search starts in the system directory instead.
    for (const wchar_t* dll : {L"wininet.dll", L"bcrypt.dll", L"crypt32.dll", L"wintrust.dll", L"oleacc.dll"})
        ::LoadLibraryExW(InSystemDirectory(dll).c_str(), nullptr, restricted ? 0 : LOAD_WITH_ALTERED_SEARCH_PATH);
}
