// dll_search_probe MODE REPORT DLL...
//
// Hardens the DLL search as MODE says, then loads each DLL by its bare name,
// as a delay-load thunk or a system DLL would, and writes REPORT (UTF-8): one
// line per DLL, its name, a tab, and the path of the module that load got
// (nothing when it failed).
//
// MODE: "none" leaves the search as Windows sets it up; "restricted" hardens
// it as the program does at start; "fallback" as it does on a system
// without SetDefaultDllDirectories.
#include <windows.h>

#include <fstream>
#include <string>

#include "dll_search.h"

namespace {

std::string Utf8(const std::wstring& text)
{
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string bytes(size > 0 ? size : 0, '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr,
                          nullptr);
    return bytes;
}

std::wstring ModulePath(HMODULE module)
{
    wchar_t path[MAX_PATH] = {};
    const DWORD length = module ? ::GetModuleFileNameW(module, path, MAX_PATH) : 0;
    return length < MAX_PATH ? std::wstring(path, length) : std::wstring();
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3)
        return 2;
    const std::wstring mode = argv[1];
    if (mode == L"restricted")
        HardenDllSearch();
    else if (mode == L"fallback")
        HardenDllSearch(nullptr);
    else if (mode != L"none")
        return 2;

    std::ofstream report(argv[2], std::ios::binary);
    for (int i = 3; i < argc; ++i)
        report << Utf8(argv[i]) << '\t' << Utf8(ModulePath(::LoadLibraryW(argv[i]))) << '\n';
    return report.flush() ? 0 : 1;
}
