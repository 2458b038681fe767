#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "product_test.h"

namespace gui_test {

inline constexpr uidriver::Milliseconds kExitTimeout = 120s;

// Whether Windows Installer has the product installed.
bool IsInstalled(const wchar_t* productCode);

// The program started by a script or deployment tool, with the real
// Windows Installer.
class UnattendedTest : public RealInstallerTest {
protected:
    void ServeBothPackages();
    // Runs a copy without a window and returns its exit code; fails the test
    // if the process ever owns a top-level window meanwhile. `plant` is given
    // the working folder first, as an attacker would find it.
    DWORD RunQuietly(const std::wstring& arguments, const std::wstring& executable = kProductExecutableName,
                     const std::function<void(const ScratchDirectory&)>& plant = {});
    std::string LogText(const wchar_t* name = L"run.log") const { return Files().Read(name); }
};

}  // namespace gui_test
