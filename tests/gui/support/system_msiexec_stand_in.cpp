#include "system_msiexec_stand_in.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "executable_directory.h"

namespace gui_test {

namespace {

// The system directory as the product sees it: the test has its bitness, so
// a 32-bit test under WoW64 reaches the same redirected folder.
std::filesystem::path SystemMsiexec()
{
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    return std::filesystem::path(std::wstring(folder, length)) / L"msiexec.exe";
}

}  // namespace

SystemMsiexecStandIn::SystemMsiexecStandIn()
    : preferFile_(L"", {L"msiexec.exe"}), msiexec_(SystemMsiexec()), wines_(msiexec_)
{
    wines_ += L".wine";
    // A test that died before restoring left Wine's file aside already.
    if (!std::filesystem::exists(wines_))
        std::filesystem::rename(msiexec_, wines_);
    std::filesystem::copy_file(Installer(), msiexec_, std::filesystem::copy_options::overwrite_existing);
}

SystemMsiexecStandIn::~SystemMsiexecStandIn()
{
    if (!MoveFileExW(wines_.c_str(), msiexec_.c_str(), MOVEFILE_REPLACE_EXISTING))
        ADD_FAILURE() << "Wine's msiexec.exe was not put back, error " << GetLastError();
}

std::filesystem::path SystemMsiexecStandIn::Installer()
{
    return uidriver::ExecutableDirectory() / L"fakeinstaller.exe";
}

}  // namespace gui_test
