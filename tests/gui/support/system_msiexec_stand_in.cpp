#include "system_msiexec_stand_in.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

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

// Wine's DLL overrides for every program: its program files obey them too.
constexpr wchar_t kOverrides[] = L"Software\\Wine\\DllOverrides";

void PreferMsiexecFile(bool prefer)
{
    HKEY key = nullptr;
    LONG status = RegCreateKeyExW(HKEY_CURRENT_USER, kOverrides, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
    if (status == ERROR_SUCCESS) {
        const wchar_t native[] = L"native";
        status = prefer ? RegSetValueExW(key, L"msiexec.exe", 0, REG_SZ, reinterpret_cast<const BYTE*>(native),
                                         sizeof(native))
                        : RegDeleteValueW(key, L"msiexec.exe");
        RegCloseKey(key);
    }
    if (status != ERROR_SUCCESS)
        throw std::runtime_error("cannot set Wine's override for msiexec.exe, error " + std::to_string(status));
}

}  // namespace

SystemMsiexecStandIn::SystemMsiexecStandIn()
    : msiexec_(SystemMsiexec()), wines_(msiexec_)
{
    PreferMsiexecFile(true);
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
    try {
        PreferMsiexecFile(false);
    } catch (const std::exception& error) {
        ADD_FAILURE() << error.what();
    }
}

std::filesystem::path SystemMsiexecStandIn::Installer()
{
    return uidriver::ExecutableDirectory() / L"fakeinstaller.exe";
}

}  // namespace gui_test
