#include "json_text.h"

#include "text_encoding.h"

#include <cstdio>

namespace uidriver {

std::string JsonString(std::wstring_view text)
{
    std::string literal = "\"";
    for (const char c : ToUtf8(text)) {
        switch (c) {
        case '"':
            literal += "\\\"";
            break;
        case '\\':
            literal += "\\\\";
            break;
        case '\n':
            literal += "\\n";
            break;
        case '\r':
            literal += "\\r";
            break;
        case '\t':
            literal += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
                literal += escaped;
            } else {
                literal += c;
            }
        }
    }
    return literal + "\"";
}

}  // namespace uidriver
