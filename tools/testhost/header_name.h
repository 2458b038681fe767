#pragma once

#include <string_view>

namespace testhost {

// Header names compare without regard to case, as in HTTP.
bool SameHeaderName(std::string_view a, std::string_view b);

// A name HTTP allows: one or more token characters.
bool IsHeaderName(std::string_view name);

}  // namespace testhost
