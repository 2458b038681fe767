#pragma once

#include <filesystem>

namespace uidriver {

// Directory of the running executable: the build puts every program and the
// hook DLL side by side there.
std::filesystem::path ExecutableDirectory();

}  // namespace uidriver
