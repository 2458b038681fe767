#pragma once

#include <initializer_list>
#include <string>

namespace gui_test {

// Makes Wine load DLLs the way Windows loads one that is not a known DLL
// (the program's own folder first, then the system directory) for programs
// of one file name, while the object lives. By default Wine prefers its own
// built-in copies, which would hide planted ones.
class WineNativeDllFirst {
public:
    WineNativeDllFirst(const std::wstring& executableName, std::initializer_list<const wchar_t*> dlls);
    ~WineNativeDllFirst();
    WineNativeDllFirst(const WineNativeDllFirst&) = delete;
    WineNativeDllFirst& operator=(const WineNativeDllFirst&) = delete;

private:
    std::wstring appKey_;  // under HKEY_CURRENT_USER
};

}  // namespace gui_test
