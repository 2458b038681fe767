#include "exit_directive.h"

#include <charconv>
#include <cstdint>
#include <limits>
#include <optional>

namespace fakeinstaller {

namespace {

// The rest of the first line after `name`, or nothing.
std::optional<std::string_view> TextAfter(std::string_view content, std::string_view name)
{
    const std::string_view line = content.substr(0, content.find('\n'));
    const size_t position = line.find(name);
    if (position == std::string_view::npos)
        return std::nullopt;
    return line.substr(position + name.size());
}

// The decimal after `name` in the first line, or nothing.
std::optional<std::int64_t> NumberAfter(std::string_view content, std::string_view name)
{
    const auto number = TextAfter(content, name);
    if (!number)
        return std::nullopt;
    std::int64_t value = 0;
    const auto parsed = std::from_chars(number->data(), number->data() + number->size(), value);
    if (parsed.ec != std::errc())
        return std::nullopt;
    return value;
}

}  // namespace

DWORD ExitCodeFor(std::string_view packageContent, bool firstStart)
{
    if (packageContent.substr(0, 5) != "exit=")
        return 0;
    const auto later = firstStart ? std::nullopt : NumberAfter(packageContent, " then=");
    const auto value = later ? later : NumberAfter(packageContent, "exit=");
    if (!value || *value < std::numeric_limits<std::int32_t>::min() ||
        *value > std::numeric_limits<std::uint32_t>::max())
        return 0;
    return static_cast<DWORD>(*value);
}

DWORD RunTimeFor(std::string_view packageContent)
{
    if (packageContent.substr(0, 5) != "exit=")
        return 0;
    const auto milliseconds = NumberAfter(packageContent, " wait=");
    return milliseconds && *milliseconds > 0 && *milliseconds <= 600000 ? static_cast<DWORD>(*milliseconds) : 0;
}

std::optional<std::string> AwaitedFileFor(std::string_view packageContent)
{
    if (packageContent.substr(0, 5) != "exit=")
        return std::nullopt;
    const auto name = TextAfter(packageContent, " until=");
    if (!name)
        return std::nullopt;
    return std::string(name->substr(0, name->find_first_of(" \r")));
}

}  // namespace fakeinstaller
