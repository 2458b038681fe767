// messaging::ParseWireMessage: the bounded whole-message parse.
#include <gtest/gtest.h>

#include "hex_bytes.h"
#include "msgwebresponse-copy.pb.h"
#include "wire_parse.h"

using namespace com::tarvic::vem::messaging;
using messaging_test::Bytes;
using messaging_test::LengthDelimited;

namespace {

// Groups under the undeclared field 9, one inside the other. Skipping a group
// costs one nesting level, like a nested message.
std::string NestedGroups(int depth)
{
    return std::string(depth, '\x4B') + std::string(depth, '\x4C');
}

// The deepest chain of declared message fields: response 190 >
// MsgGetSessionLogsByDeviceIdResponse 2 > MsgSessionLog 4 > MsgInterventionLog 3 >
// MsgEvent 13 > SystemScript 8 > SystemMessage, six levels below the response.
constexpr int kDeclaredChainDepth = 6;

std::string DeclaredChainAround(const std::string& innermost)
{
    const char* const keys_outside_in[] = {"F2 0B", "12", "22", "1A", "6A", "42"};
    std::string bytes = innermost;
    for (int level = kDeclaredChainDepth - 1; level >= 0; --level)
        bytes = LengthDelimited(Bytes(keys_outside_in[level]), bytes);
    return bytes;
}

// Response field 12 (bytes) sized so that the whole message is total_size bytes.
std::string ResponseOfSize(size_t total_size)
{
    const size_t key_and_length = 1 + 4;
    return LengthDelimited(Bytes("62"), std::string(total_size - key_and_length, 'x'));
}

bool Parses(const std::string& bytes)
{
    MsgWebResponse response;
    return messaging::ParseWireMessage(bytes, response);
}

}  // namespace

TEST(ParseWireMessage, ZeroBytesGiveEmptyMessage)
{
    MsgWebResponse response;
    response.set_status(SUCCESS);
    ASSERT_TRUE(messaging::ParseWireMessage("", response));
    EXPECT_FALSE(response.has_status());
}

TEST(ParseWireMessage, ReplacesEarlierContentsInsteadOfMerging)
{
    MsgWebResponse response;
    ASSERT_TRUE(messaging::ParseWireMessage(Bytes("08 01"), response));
    ASSERT_TRUE(messaging::ParseWireMessage(Bytes("C2 0C 01 75"), response));
    EXPECT_FALSE(response.has_status());
    EXPECT_EQ(response.patch_download_url(), "u");
}

TEST(ParseWireMessage, AcceptsExactly64MiBAndRefusesOneByteMore)
{
    const std::string largest = ResponseOfSize(messaging::kMaxWireBytes);
    ASSERT_EQ(largest.size(), 64u * 1024 * 1024);
    MsgWebResponse response;
    ASSERT_TRUE(messaging::ParseWireMessage(largest, response));
    EXPECT_EQ(response.field_12().size(), largest.size() - 5);

    EXPECT_FALSE(Parses(ResponseOfSize(messaging::kMaxWireBytes + 1)));
}

TEST(ParseWireMessage, NestingOf64LevelsParsesAnd65Fail)
{
    EXPECT_TRUE(Parses(NestedGroups(64)));
    EXPECT_FALSE(Parses(NestedGroups(65)));
}

TEST(ParseWireMessage, DeclaredMessagesCountTowardsTheSameNestingLimit)
{
    const int groups_left = messaging::kMaxNestingDepth - kDeclaredChainDepth;

    MsgWebResponse response;
    ASSERT_TRUE(messaging::ParseWireMessage(DeclaredChainAround(NestedGroups(groups_left)), response));
    ASSERT_EQ(response.field_190().field_2_size(), 1);
    const MsgSessionLog& log = response.field_190().field_2(0);
    ASSERT_EQ(log.field_4_size(), 1);
    EXPECT_EQ(log.field_4(0).field_3().field_13().field_8_size(), 1);

    EXPECT_FALSE(Parses(DeclaredChainAround(NestedGroups(groups_left + 1))));
}

TEST(ParseWireMessage, RefusesInputThatDoesNotEndCleanly)
{
    const struct {
        const char* what;
        const char* bytes;
    } cases[] = {
        {"end-group key at the top level", "08 01 0C"},
        {"end-group key at the top of a nested message", "82 05 01 0C"},
        {"unmatched end-group inside a skipped group", "4B 54"},
        {"key without its value", "08 01 08"},
        {"bytes field cut short", "62 05 41 42"},
        {"nested message longer than the input", "82 05 04 0A 01"},
        {"varint of more than ten bytes", "08 FF FF FF FF FF FF FF FF FF FF 01"},
        {"zero key followed by more input", "08 01 00 08 02"},
        {"trailing zero key", "08 01 00"},
        {"trailing half key", "08 01 90"},
    };
    for (const auto& c : cases)
        EXPECT_FALSE(Parses(Bytes(c.bytes))) << c.what;
}

TEST(ParseWireMessage, RefusesMessageMissingRequiredFields)
{
    // Response field 31 holding a job state without its field 4.
    EXPECT_FALSE(Parses(Bytes("FA 01 0C 22 0A 2A 08 62 06 0A 00 10 00 1A 00")));
    EXPECT_TRUE(Parses(Bytes("FA 01 0E 22 0C 2A 0A 62 08 0A 00 10 00 1A 00 22 00")));
}
