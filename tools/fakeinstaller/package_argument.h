#pragma once

#include <optional>
#include <string>
#include <vector>

namespace fakeinstaller {

// The package an installer command line names: the first argument ending in
// ".msi" (any case), else the last argument; nothing when there are no arguments.
std::optional<std::wstring> PackageArgument(const std::vector<std::wstring>& arguments);

}  // namespace fakeinstaller
