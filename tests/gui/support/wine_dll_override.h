#pragma once

#include <string>

namespace gui_test {

// Makes Wine load a DLL the way Windows loads one that is not a known DLL
// (the program's own folder first, then the system directory) for programs
// of one file name, while the object lives. By default Wine prefers its own
// built-in copy, which would hide a planted one.
class WineNativeDllFirst {
public:
    WineNativeDllFirst(const std::wstring& executableName, const std::wstring& dll);
    ~WineNativeDllFirst();
    WineNativeDllFirst(const WineNativeDllFirst&) = delete;
    WineNativeDllFirst& operator=(const WineNativeDllFirst&) = delete;

private:
    std::wstring appKey_;  // under HKEY_CURRENT_USER
};

}  // namespace gui_test
