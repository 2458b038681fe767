#pragma once

#include <filesystem>
#include <string>

namespace gui_test {

// Runs a Unix shell command in `folder` and waits up to 5 s for it: Wine
// makes no symbolic link for CreateSymbolicLinkW, but it starts Unix
// programs, so `ln -s` plants one as the user's own programs could.
bool RunInUnixShell(const std::filesystem::path& folder, const std::wstring& command);

}  // namespace gui_test
