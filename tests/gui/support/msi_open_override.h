#pragma once

#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace gui_test {

// A registry value as stored: its type and raw bytes.
struct RegistryValue {
    DWORD type;
    std::vector<BYTE> data;
};

// Points the shell's "open" verb for .msi packages at a stand-in installer
// while the object lives, and puts the original command back when it goes,
// failed test or not.
class MsiOpenOverride {
public:
    explicit MsiOpenOverride(const std::filesystem::path& installer);
    ~MsiOpenOverride();
    MsiOpenOverride(const MsiOpenOverride&) = delete;
    MsiOpenOverride& operator=(const MsiOpenOverride&) = delete;

private:
    std::wstring commandKey_;  // under HKEY_CLASSES_ROOT
    std::optional<RegistryValue> original_;
};

}  // namespace gui_test
