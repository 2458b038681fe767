#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace testhost {

// The whole text as an unsigned decimal number; nothing else (no sign,
// spaces or trailing characters) is accepted.
std::optional<std::uint64_t> ParseDecimal(std::string_view text);

}  // namespace testhost
