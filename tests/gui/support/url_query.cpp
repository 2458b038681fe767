#include "url_query.h"

#include <cctype>

namespace gui_test {

namespace {

std::string PercentEncoded(std::string_view text)
{
    static constexpr char kHexDigits[] = "0123456789ABCDEF";
    std::string encoded;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) || c == '-' || c == '.' || c == '_' || c == '~') {
            encoded += c;
        } else {
            encoded += '%';
            encoded += kHexDigits[byte >> 4];
            encoded += kHexDigits[byte & 0xF];
        }
    }
    return encoded;
}

}  // namespace

std::string WithQuery(std::string_view path, const QueryParameters& parameters)
{
    std::string target(path);
    char separator = '?';
    for (const auto& [name, value] : parameters) {
        target += separator + PercentEncoded(name) + "=" + PercentEncoded(value);
        separator = '&';
    }
    return target;
}

}  // namespace gui_test
