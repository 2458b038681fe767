#pragma once

#include <string>

namespace messaging_test {

// Wire bytes written as space-separated hex pairs, e.g. "08 D2 01".
// Malformed text throws, so a mistyped golden vector fails its test loudly.
std::string Bytes(const std::string& hex);

// The inverse, upper-case and space-separated, so a mismatch against a golden
// vector prints readably.
std::string Hex(const std::string& bytes);

// One length-delimited field: the key bytes, the varint length, the payload.
std::string LengthDelimited(const std::string& key, const std::string& payload);

}  // namespace messaging_test
