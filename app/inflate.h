#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// Decompresses a zlib stream (RFC 1950 around RFC 1951's deflate) that the
// build made of a resource, the banner's bitmap among them. Checks
// everything it reads: a stream that is malformed, ends early, inflates
// beyond `limit` bytes or fails its Adler-32 check gives nothing.
std::optional<std::vector<std::uint8_t>> Inflate(const std::uint8_t* data, std::size_t size, std::size_t limit);
