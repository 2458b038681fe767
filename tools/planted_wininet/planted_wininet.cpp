// A wininet.dll as an attacker would plant it beside the program: it records
// being loaded in "<its own path>.loaded" and does nothing else. Its exports
// are the ones a program with a static WinINet import needs to start.
#include <windows.h>

#include <string>

namespace {

void RecordLoad(HMODULE self)
{
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(self, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return;
    const std::wstring record = std::wstring(path) + L".loaded";
    const HANDLE file = CreateFileW(record.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        RecordLoad(self);
    return TRUE;
}

extern "C" __declspec(dllexport) void* WINAPI InternetOpenW(const wchar_t*, DWORD, const wchar_t*, const wchar_t*, DWORD)
{
    return nullptr;
}

extern "C" __declspec(dllexport) void* WINAPI InternetOpenUrlW(void*, const wchar_t*, const wchar_t*, DWORD, DWORD,
                                                              DWORD_PTR)
{
    return nullptr;
}

extern "C" __declspec(dllexport) BOOL WINAPI InternetReadFile(void*, void*, DWORD, DWORD*)
{
    return FALSE;
}

extern "C" __declspec(dllexport) BOOL WINAPI InternetCloseHandle(void*)
{
    return FALSE;
}
