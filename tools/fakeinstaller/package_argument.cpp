#include "package_argument.h"

#include <algorithm>
#include <cwctype>

namespace fakeinstaller {

namespace {

bool EndsWithMsi(const std::wstring& argument)
{
    constexpr std::wstring_view extension = L".msi";
    return argument.size() >= extension.size() &&
           std::equal(extension.rbegin(), extension.rend(), argument.rbegin(),
                      [](wchar_t wanted, wchar_t actual) { return wanted == std::towlower(actual); });
}

}  // namespace

std::optional<std::wstring> PackageArgument(const std::vector<std::wstring>& arguments)
{
    const auto msi = std::find_if(arguments.begin(), arguments.end(), EndsWithMsi);
    if (msi != arguments.end())
        return *msi;
    if (arguments.empty())
        return std::nullopt;
    return arguments.back();
}

}  // namespace fakeinstaller
