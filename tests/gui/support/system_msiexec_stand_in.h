#pragma once

#include <filesystem>

namespace gui_test {

// Puts the stand-in installer (fakeinstaller.exe next to the test) in the
// place of the system's msiexec.exe while the object lives, and Wine's own
// back when it goes, failed test or not. Wine runs a program file there only
// when told to prefer it to its built-in msiexec.
class SystemMsiexecStandIn {
public:
    SystemMsiexecStandIn();
    ~SystemMsiexecStandIn();
    SystemMsiexecStandIn(const SystemMsiexecStandIn&) = delete;
    SystemMsiexecStandIn& operator=(const SystemMsiexecStandIn&) = delete;

    // The stand-in itself, for install commands that name it.
    static std::filesystem::path Installer();

private:
    std::filesystem::path msiexec_;
    std::filesystem::path wines_;
};

}  // namespace gui_test
