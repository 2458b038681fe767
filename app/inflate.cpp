#include "inflate.h"

#include <array>

namespace {

// Canonical Huffman code: how many codes of each length, and the symbols in
// code order (RFC 1951, 3.2.2).
struct Huffman {
    std::array<std::uint16_t, 16> counts{};
    std::array<std::uint16_t, 288> symbols{};

    // False when the lengths over-subscribe the code.
    bool Build(const std::uint8_t* lengths, int n)
    {
        counts.fill(0);
        for (int symbol = 0; symbol < n; ++symbol)
            ++counts[lengths[symbol]];
        int left = 1;
        for (int length = 1; length < 16; ++length) {
            left = left * 2 - counts[length];
            if (left < 0)
                return false;
        }
        std::array<std::uint16_t, 16> offsets{};
        for (int length = 1; length < 15; ++length)
            offsets[length + 1] = offsets[length] + counts[length];
        for (int symbol = 0; symbol < n; ++symbol) {
            if (lengths[symbol])
                symbols[offsets[lengths[symbol]]++] = static_cast<std::uint16_t>(symbol);
        }
        return true;
    }
};

constexpr std::uint16_t kLengthBase[] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                         31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::uint8_t kLengthExtra[] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                         2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::uint16_t kDistanceBase[] = {1,    2,    3,    4,    5,    7,     9,     13,    17,  25,
                                           33,   49,   65,   97,   129,  193,   257,   385,   513, 769,
                                           1025, 1537, 2049, 3073, 4097, 6145,  8193,  12289, 16385, 24577};
constexpr std::uint8_t kDistanceExtra[] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                           6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

class Inflater {
public:
    Inflater(const std::uint8_t* data, std::size_t size, std::size_t limit) : m_data(data), m_size(size), m_limit(limit) {}

    bool Run()
    {
        int last = 0;
        do {
            last = Bits(1);
            const int type = Bits(2);
            bool done = false;
            if (type == 0)
                done = Stored();
            else if (type == 1)
                done = Fixed();
            else if (type == 2)
                done = Dynamic();
            if (!done || m_failed)
                return false;
        } while (!last);
        return true;
    }

    // After the last block: the byte-aligned position of what follows.
    std::size_t Position() const { return m_position; }
    std::vector<std::uint8_t>& Output() { return m_out; }

private:
    // Reads `count` bits, least significant first; past the end it fails the
    // stream and reads zeros.
    int Bits(int count)
    {
        std::uint32_t value = m_bitBuffer;
        while (m_bitCount < count) {
            if (m_position == m_size) {
                m_failed = true;
                return 0;
            }
            value |= static_cast<std::uint32_t>(m_data[m_position++]) << m_bitCount;
            m_bitCount += 8;
        }
        m_bitBuffer = value >> count;
        m_bitCount -= count;
        return static_cast<int>(value & ((1u << count) - 1));
    }

    int Decode(const Huffman& huffman)
    {
        int code = 0;
        int first = 0;
        int index = 0;
        for (int length = 1; length < 16; ++length) {
            code |= Bits(1);
            const int count = huffman.counts[length];
            if (code - count < first)
                return huffman.symbols[index + (code - first)];
            index += count;
            first = (first + count) << 1;
            code <<= 1;
        }
        m_failed = true;
        return 0;
    }

    bool Stored()
    {
        m_bitBuffer = 0;
        m_bitCount = 0;
        if (m_size - m_position < 4)
            return false;
        const std::size_t length = m_data[m_position] | m_data[m_position + 1] << 8;
        const std::size_t complement = m_data[m_position + 2] | m_data[m_position + 3] << 8;
        m_position += 4;
        if (length != (~complement & 0xffff) || m_size - m_position < length || m_limit - m_out.size() < length)
            return false;
        m_out.insert(m_out.end(), m_data + m_position, m_data + m_position + length);
        m_position += length;
        return true;
    }

    bool Fixed()
    {
        std::uint8_t lengths[288 + 30];
        int symbol = 0;
        for (; symbol < 144; ++symbol)
            lengths[symbol] = 8;
        for (; symbol < 256; ++symbol)
            lengths[symbol] = 9;
        for (; symbol < 280; ++symbol)
            lengths[symbol] = 7;
        for (; symbol < 288 + 30; ++symbol)
            lengths[symbol] = symbol < 288 ? 8 : 5;
        Huffman literals;
        Huffman distances;
        return literals.Build(lengths, 288) && distances.Build(lengths + 288, 30) && Codes(literals, distances);
    }

    bool Dynamic()
    {
        static constexpr std::uint8_t kOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
        const int literalCount = Bits(5) + 257;
        const int distanceCount = Bits(5) + 1;
        const int codeLengthCount = Bits(4) + 4;
        if (literalCount > 286 || distanceCount > 30)
            return false;
        std::uint8_t lengths[286 + 30] = {};
        for (int i = 0; i < codeLengthCount; ++i)
            lengths[kOrder[i]] = static_cast<std::uint8_t>(Bits(3));
        Huffman codeLengths;
        if (!codeLengths.Build(lengths, 19))
            return false;
        for (int i = 0; i < literalCount + distanceCount && !m_failed;) {
            const int symbol = Decode(codeLengths);
            if (symbol < 16) {
                lengths[i++] = static_cast<std::uint8_t>(symbol);
                continue;
            }
            std::uint8_t repeated = 0;
            int times = 0;
            if (symbol == 16) {
                if (i == 0)
                    return false;
                repeated = lengths[i - 1];
                times = 3 + Bits(2);
            } else {
                times = symbol == 17 ? 3 + Bits(3) : 11 + Bits(7);
            }
            if (i + times > literalCount + distanceCount)
                return false;
            while (times--)
                lengths[i++] = repeated;
        }
        Huffman literals;
        Huffman distances;
        return !m_failed && lengths[256] && literals.Build(lengths, literalCount) &&
               distances.Build(lengths + literalCount, distanceCount) && Codes(literals, distances);
    }

    bool Codes(const Huffman& literals, const Huffman& distances)
    {
        for (;;) {
            int symbol = Decode(literals);
            if (m_failed)
                return false;
            if (symbol < 256) {
                if (m_out.size() == m_limit)
                    return false;
                m_out.push_back(static_cast<std::uint8_t>(symbol));
                continue;
            }
            if (symbol == 256)
                return true;
            symbol -= 257;
            if (symbol >= 29)
                return false;
            const std::size_t length = kLengthBase[symbol] + Bits(kLengthExtra[symbol]);
            const int code = Decode(distances);
            if (m_failed || code >= 30)
                return false;
            const std::size_t distance = kDistanceBase[code] + Bits(kDistanceExtra[code]);
            if (m_failed || distance > m_out.size() || m_limit - m_out.size() < length)
                return false;
            // Byte by byte: a copy may overlap the bytes it makes.
            for (std::size_t i = 0; i < length; ++i)
                m_out.push_back(m_out[m_out.size() - distance]);
        }
    }

    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_limit;
    std::size_t m_position = 0;
    std::uint32_t m_bitBuffer = 0;
    int m_bitCount = 0;
    bool m_failed = false;
    std::vector<std::uint8_t> m_out;
};

std::uint32_t Adler32(const std::vector<std::uint8_t>& bytes)
{
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (const std::uint8_t byte : bytes) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return b << 16 | a;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> Inflate(const std::uint8_t* data, std::size_t size, std::size_t limit)
{
    // The zlib header: deflate with a window of at most 32 KiB, no preset
    // dictionary, and its check bits.
    if (size < 6 || (data[0] & 0x0f) != 8 || (data[0] >> 4) > 7 || (data[1] & 0x20) ||
        (data[0] << 8 | data[1]) % 31 != 0)
        return std::nullopt;
    Inflater inflater(data + 2, size - 2, limit);
    if (!inflater.Run())
        return std::nullopt;
    const std::size_t trailer = 2 + inflater.Position();
    if (size - trailer < 4)
        return std::nullopt;
    const std::uint32_t expected = static_cast<std::uint32_t>(data[trailer]) << 24 | data[trailer + 1] << 16 |
                                   data[trailer + 2] << 8 | data[trailer + 3];
    if (Adler32(inflater.Output()) != expected)
        return std::nullopt;
    return std::move(inflater.Output());
}
