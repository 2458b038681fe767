#include "prefix_dpi.h"

#include <stdexcept>
#include <string>

namespace gui_test {

namespace {

constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";
constexpr wchar_t kLogPixels[] = L"LogPixels";

std::optional<DWORD> ReadLogPixels()
{
    DWORD value = 0;
    DWORD size = sizeof(value);
    if (RegGetValueW(HKEY_CURRENT_USER, kDesktopKey, kLogPixels, RRF_RT_REG_DWORD, nullptr, &value, &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    return value;
}

// No value means the prefix's default.
LSTATUS WriteLogPixels(const std::optional<DWORD>& dpi)
{
    return dpi ? RegSetKeyValueW(HKEY_CURRENT_USER, kDesktopKey, kLogPixels, REG_DWORD, &*dpi, sizeof(*dpi))
               : RegDeleteKeyValueW(HKEY_CURRENT_USER, kDesktopKey, kLogPixels);
}

}  // namespace

PrefixDpi::PrefixDpi(DWORD dpi) : previous_(ReadLogPixels())
{
    if (const LSTATUS status = WriteLogPixels(dpi); status != ERROR_SUCCESS)
        throw std::runtime_error("cannot set LogPixels, error " + std::to_string(status));
}

PrefixDpi::~PrefixDpi()
{
    WriteLogPixels(previous_);
}

}  // namespace gui_test
