// The local file a package is stored under, named after its install command.
#pragma once

#include <optional>
#include <string>

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
