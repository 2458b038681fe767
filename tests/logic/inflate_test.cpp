// The resources' decompressor: the banner the build compresses comes back
// byte for byte, and a stream that is cut, corrupted or too large gives
// nothing, never a partial result.
#include "inflate.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

constexpr std::uint8_t kBanner[] = {
#include "banner_bmp.inc"
};
constexpr std::uint8_t kCompressedBanner[] = {
#include "banner_bmp_z.inc"
};
// zlib.compress(b"stored bytes", 0): one stored block.
constexpr std::uint8_t kStored[] = {0x78, 0x01, 0x01, 0x0c, 0x00, 0xf3, 0xff, 0x73, 0x74, 0x6f, 0x72, 0x65,
                                    0x64, 0x20, 0x62, 0x79, 0x74, 0x65, 0x73, 0x1f, 0xcf, 0x04, 0xd9};
// zlib.compress(b"abcabcabcabcabcabcabc fixed", 9): one block of the fixed
// codes, with a copy that overlaps the bytes it makes.
constexpr std::uint8_t kFixed[] = {0x78, 0xda, 0x4b, 0x4c, 0x4a, 0x4e, 0xc4, 0x40, 0x0a, 0x69,
                                   0x99, 0x15, 0xa9, 0x29, 0x00, 0x8f, 0xaf, 0x0a, 0x3b};

std::vector<std::uint8_t> Bytes(const std::string& text)
{
    return {text.begin(), text.end()};
}

TEST(Inflate, EachKindOfBlockComesBackByteForByte)
{
    const auto banner = Inflate(kCompressedBanner, sizeof(kCompressedBanner), sizeof(kBanner));
    ASSERT_TRUE(banner);
    EXPECT_EQ(*banner, std::vector<std::uint8_t>(kBanner, kBanner + sizeof(kBanner)));
    EXPECT_LT(sizeof(kCompressedBanner), sizeof(kBanner) / 5);

    EXPECT_EQ(Inflate(kStored, sizeof(kStored), 100), Bytes("stored bytes"));
    EXPECT_EQ(Inflate(kFixed, sizeof(kFixed), 100), Bytes("abcabcabcabcabcabcabc fixed"));
}

TEST(Inflate, ACutOrCorruptedStreamGivesNothing)
{
    for (std::size_t size = 0; size < sizeof(kCompressedBanner); size += 97)
        EXPECT_FALSE(Inflate(kCompressedBanner, size, sizeof(kBanner))) << size;
    EXPECT_FALSE(Inflate(kCompressedBanner, sizeof(kCompressedBanner) - 1, sizeof(kBanner)));

    std::vector<std::uint8_t> stream(kCompressedBanner, kCompressedBanner + sizeof(kCompressedBanner));
    for (const std::size_t at : {std::size_t{0}, std::size_t{1}, stream.size() / 2, stream.size() - 1}) {
        std::vector<std::uint8_t> corrupted = stream;
        corrupted[at] ^= 0x10;
        EXPECT_FALSE(Inflate(corrupted.data(), corrupted.size(), sizeof(kBanner))) << at;
    }
    std::vector<std::uint8_t> stored(kStored, kStored + sizeof(kStored));
    stored[5] ^= 1;  // the stored length's complement
    EXPECT_FALSE(Inflate(stored.data(), stored.size(), 100));
}

TEST(Inflate, NothingBeyondTheLimit)
{
    EXPECT_FALSE(Inflate(kCompressedBanner, sizeof(kCompressedBanner), sizeof(kBanner) - 1));
    EXPECT_FALSE(Inflate(kStored, sizeof(kStored), 11));
    EXPECT_FALSE(Inflate(kFixed, sizeof(kFixed), 26));
    EXPECT_TRUE(Inflate(kFixed, sizeof(kFixed), 27));
}

}  // namespace
