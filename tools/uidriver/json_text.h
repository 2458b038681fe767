#pragma once

#include <string>
#include <string_view>

namespace uidriver {

// A JSON string literal, quotes included, in UTF-8.
std::string JsonString(std::wstring_view text);

}  // namespace uidriver
