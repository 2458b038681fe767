// Paths in the system directory, and full paths.
#pragma once

#include <string>

// `name` in the system directory (for example C:\Windows\System32\msiexec.exe).
std::wstring InSystemDirectory(const std::wstring& name);

// The absolute form of a path relative to the current directory; the path
// itself when it cannot be made absolute.
std::wstring FullPath(const std::wstring& path);
