#include "msi_open_override.h"

#include "child_process.h"
#include "text_encoding.h"
#include "unique_handle.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace gui_test {

namespace {

using RegistryKey = uidriver::UniqueHandle<HKEY, &RegCloseKey>;

constexpr wchar_t kMsiExtension[] = L".msi";

[[noreturn]] void Fail(const std::string& what, LONG status)
{
    throw std::runtime_error(what + " failed, error " + std::to_string(status));
}

RegistryKey OpenClassesKey(const std::wstring& subkey, REGSAM access)
{
    HKEY key = nullptr;
    const LONG status = RegOpenKeyExW(HKEY_CLASSES_ROOT, subkey.c_str(), 0, access, &key);
    if (status != ERROR_SUCCESS)
        Fail("opening HKEY_CLASSES_ROOT\\" + uidriver::ToUtf8(subkey), status);
    return RegistryKey(key);
}

std::optional<RegistryValue> ReadDefaultValue(HKEY key)
{
    RegistryValue value{REG_NONE, {}};
    DWORD size = 0;
    LONG status = RegQueryValueExW(key, nullptr, nullptr, &value.type, nullptr, &size);
    if (status == ERROR_FILE_NOT_FOUND)
        return std::nullopt;
    value.data.resize(size);
    if (status == ERROR_SUCCESS)
        status = RegQueryValueExW(key, nullptr, nullptr, &value.type, value.data.data(), &size);
    if (status != ERROR_SUCCESS)
        Fail("reading a default registry value", status);
    value.data.resize(size);
    return value;
}

void WriteDefaultValue(HKEY key, const RegistryValue& value)
{
    const LONG status =
        RegSetValueExW(key, nullptr, 0, value.type, value.data.data(), static_cast<DWORD>(value.data.size()));
    if (status != ERROR_SUCCESS)
        Fail("writing a default registry value", status);
}

RegistryValue StringValue(const std::wstring& text)
{
    const auto* bytes = reinterpret_cast<const BYTE*>(text.c_str());
    return {REG_SZ, std::vector<BYTE>(bytes, bytes + (text.size() + 1) * sizeof(wchar_t))};
}

std::wstring TextOf(const RegistryValue& value)
{
    std::wstring text(reinterpret_cast<const wchar_t*>(value.data.data()), value.data.size() / sizeof(wchar_t));
    return text.substr(0, text.find(L'\0'));
}

// The verb lives under the extension's ProgID: .msi -> Msi.Package -> shell\open\command.
std::wstring OpenCommandKey()
{
    const auto progId = ReadDefaultValue(OpenClassesKey(kMsiExtension, KEY_QUERY_VALUE).get());
    if (!progId || TextOf(*progId).empty())
        throw std::runtime_error("HKEY_CLASSES_ROOT\\.msi names no file type");
    return TextOf(*progId) + L"\\shell\\open\\command";
}

}  // namespace

MsiOpenOverride::MsiOpenOverride(const std::filesystem::path& installer) : commandKey_(OpenCommandKey())
{
    const RegistryKey key = OpenClassesKey(commandKey_, KEY_QUERY_VALUE | KEY_SET_VALUE);
    original_ = ReadDefaultValue(key.get());
    WriteDefaultValue(key.get(), StringValue(uidriver::Quoted(installer) + L" \"%1\""));
}

MsiOpenOverride::~MsiOpenOverride()
{
    try {
        const RegistryKey key = OpenClassesKey(commandKey_, KEY_SET_VALUE);
        if (original_)
            WriteDefaultValue(key.get(), *original_);
        else
            RegDeleteValueW(key.get(), nullptr);
    } catch (const std::exception& error) {
        ADD_FAILURE() << "the .msi open command was not restored: " << error.what();
    }
}

}  // namespace gui_test
