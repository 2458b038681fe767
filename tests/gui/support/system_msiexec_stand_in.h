#pragma once

#include <filesystem>

#include "wine_dll_override.h"

namespace gui_test {

// Puts the stand-in installer (fakeinstaller.exe next to the test) in the
// place of the system's msiexec.exe while the object lives, and Wine's own
// back when it goes, failed test or not. Wine runs a program file there only
// when every program is told to prefer it to its built-in msiexec (an
// override for msiexec.exe's own programs is not enough).
class SystemMsiexecStandIn {
public:
    SystemMsiexecStandIn();
    ~SystemMsiexecStandIn();
    SystemMsiexecStandIn(const SystemMsiexecStandIn&) = delete;
    SystemMsiexecStandIn& operator=(const SystemMsiexecStandIn&) = delete;

    // The stand-in itself, for install commands that name it.
    static std::filesystem::path Installer();

private:
    WineNativeDllFirst preferFile_;
    std::filesystem::path msiexec_;
    std::filesystem::path wines_;
};

}  // namespace gui_test
