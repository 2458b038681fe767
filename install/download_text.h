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

// Whether a name is a plain file name, one that can only name a file in the
// working folder: no folder separator, no drive or stream colon, no
// wildcard, quotation mark or control character, not "." or "..", no
// trailing dot or space (which the system drops), and not a device (CON,
// PRN, AUX, NUL, COM1 to COM9, LPT1 to LPT9, CONIN$, CONOUT$, in any letter
// case and whatever follows a dot: "NUL.msi" is the null device).
bool IsPlainFileName(const std::wstring& name);

// Whether a package URL is one the program fetches: http:// or https://, in
// any letter case. Everything else WinINet would open (ftp://, file://, a
// path) is refused.
bool IsWebUrl(const std::wstring& url);
