// What a package download reads and checks in the texts of a transfer: the
// answer's Content-Length and the URL it is asked to fetch.
#pragma once

#include <cstdint>
#include <string>

// The total of a download from its Content-Length text, read as a signed
// 32-bit decimal: leading white space and one sign are accepted, digits are
// read up to the first non-digit, no digits give 0, and a value beyond the
// 32-bit range gives the nearest 32-bit limit.
int64_t ParseContentLength(const std::wstring& text);

// Whether a package URL is one the program fetches: http:// or https://, in
// any letter case. Everything else WinINet would open (ftp://, file://, a
// path) is refused.
bool IsWebUrl(const std::wstring& url);
