#pragma once

#include <string>
#include <string_view>

namespace uidriver {

// Win32 speaks UTF-16; files, JSON and HTTP speak UTF-8.
std::string ToUtf8(std::wstring_view text);
std::wstring FromUtf8(std::string_view text);

}  // namespace uidriver
