#include "exit_directive.h"

#include <charconv>
#include <cstdint>
#include <limits>

namespace fakeinstaller {

DWORD ExitCodeFor(std::string_view packageContent)
{
    constexpr std::string_view directive = "exit=";
    if (packageContent.substr(0, directive.size()) != directive)
        return 0;
    const std::string_view number = packageContent.substr(directive.size());
    std::int64_t value = 0;
    const auto parsed = std::from_chars(number.data(), number.data() + number.size(), value);
    if (parsed.ec != std::errc() || value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::uint32_t>::max())
        return 0;
    return static_cast<DWORD>(value);
}

}  // namespace fakeinstaller
