#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The total of a download from its Content-Length text, read as a signed
// 32-bit decimal: leading white space and one sign are accepted, digits are
// read up to the first non-digit, no digits give 0, and a value beyond the
// 32-bit range gives the nearest 32-bit limit.
int64_t ParseContentLength(const std::wstring& text);

// The Patch Management package's local file name from its install command:
// the word that ends with the command's first ".msi" (case-sensitive), that
// is everything after the last space before it. Nothing when the command has
// no ".msi" or no space before it. Quotation marks are not interpreted.
std::optional<std::wstring> PatchInstallerFileFromCommand(const std::wstring& command);

// Whether a package URL is one the program fetches: http:// or https://, in
// any letter case. Everything else WinINet would open (ftp://, file://, a
// path) is refused.
bool IsWebUrl(const std::wstring& url);
