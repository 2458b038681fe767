#pragma once

#include <initializer_list>
#include <string>
#include <vector>

namespace gui_test {

// Makes Wine load DLLs the way Windows loads one that is not a known DLL
// (the program's own folder first, then the system directory) for programs
// of one file name, or for every program when the name is empty, while the
// object lives. By default Wine prefers its own built-in copies, which would
// hide planted ones; the same holds for its built-in programs (a program
// file put where Wine's own lies runs only with its name overridden).
class WineNativeDllFirst {
public:
    WineNativeDllFirst(const std::wstring& executableName, std::initializer_list<const wchar_t*> dlls);
    ~WineNativeDllFirst();
    WineNativeDllFirst(const WineNativeDllFirst&) = delete;
    WineNativeDllFirst& operator=(const WineNativeDllFirst&) = delete;

private:
    std::wstring appKey_;  // under HKEY_CURRENT_USER; empty for every program's overrides
    std::vector<std::wstring> dlls_;
};

}  // namespace gui_test
