#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace fakeinstaller {

// A package whose content starts with "exit=N" makes the installer exit with
// N: a signed or unsigned 32-bit decimal, returned as its DWORD bit pattern
// (exit=-1 gives 0xFFFFFFFF). Any other content means success, 0.
// " then=M" after it makes every start after the first exit with M instead,
// as an installer that found another installation running would at first.
DWORD ExitCodeFor(std::string_view packageContent, bool firstStart = true);

// " wait=MS" after the exit directive keeps the installer running that many
// milliseconds first, as a real one would; 0 without it.
DWORD RunTimeFor(std::string_view packageContent);

// " until=NAME" after it ends that wait early once a file NAME exists beside
// the package, for a test that must act while an installer surely runs.
std::optional<std::string> AwaitedFileFor(std::string_view packageContent);

}  // namespace fakeinstaller
