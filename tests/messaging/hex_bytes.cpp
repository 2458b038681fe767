#include "hex_bytes.h"

#include <stdexcept>

namespace messaging_test {

namespace {

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    throw std::invalid_argument(std::string("not a hex digit: ") + c);
}

std::string Varint(size_t value)
{
    std::string out;
    while (value >= 0x80) {
        out += static_cast<char>((value & 0x7F) | 0x80);
        value >>= 7;
    }
    out += static_cast<char>(value);
    return out;
}

}  // namespace

std::string Bytes(const std::string& hex)
{
    std::string out;
    size_t i = 0;
    while (i < hex.size()) {
        if (hex[i] == ' ') {
            ++i;
            continue;
        }
        if (i + 1 >= hex.size() || hex[i + 1] == ' ')
            throw std::invalid_argument("odd hex digit in \"" + hex + "\"");
        out += static_cast<char>(HexDigit(hex[i]) * 16 + HexDigit(hex[i + 1]));
        i += 2;
    }
    return out;
}

std::string Hex(const std::string& bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char byte : bytes) {
        if (!out.empty())
            out += ' ';
        out += digits[byte >> 4];
        out += digits[byte & 0x0F];
    }
    return out;
}

std::string LengthDelimited(const std::string& key, const std::string& payload)
{
    return key + Varint(payload.size()) + payload;
}

}  // namespace messaging_test
