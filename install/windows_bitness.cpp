// Whether Windows is 64-bit, asked of the system.
#include "windows_bitness.h"

bool WindowsIs64Bit(bool process64Bit, IsWow64ProcessFn isWow64Process, HANDLE process)
{
    if (process64Bit)
        return true;
    BOOL wow64 = FALSE;
    return isWow64Process && isWow64Process(process, &wow64) && wow64;
}

bool RunningOn64BitWindows()
{
    // Looked up by name: systems without WOW64 do not export it.
    const auto isWow64Process = reinterpret_cast<IsWow64ProcessFn>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32"), "IsWow64Process")));
    return WindowsIs64Bit(sizeof(void*) == 8, isWow64Process, ::GetCurrentProcess());
}
