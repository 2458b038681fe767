#pragma once

#include <optional>
#include <string>

// The program a command line starts, when its first word is a bare program
// name: no drive, no directory, quoted or not ("msiexec", "\"msiexec.exe\"").
// Such a name would be looked for in the program's own folder and the
// current folder before the system directory. ".exe" is added when the name
// has no extension, as process creation does. Nothing for a path or an empty
// command.
std::optional<std::wstring> BareProgramName(const std::wstring& commandLine);
