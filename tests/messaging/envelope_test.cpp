// Behaviour of the web service envelopes beyond the one exchange the
// download manager performs.
#include <gtest/gtest.h>

#include "hex_bytes.h"
#include "msgwebrequest.pb.h"
#include "msgwebresponse-copy.pb.h"

using namespace com::tarvic::vem::messaging;
using messaging_test::Bytes;
using messaging_test::Hex;

TEST(Request, TokenOfMoreThan127BytesGetsTwoByteLength)
{
    MsgWebRequest request;
    request.set_setup_token(std::string(200, 'T'));
    EXPECT_EQ(Hex(request.SerializeAsString().substr(0, 4)), "92 08 C8 01");
    EXPECT_EQ(request.ByteSizeLong(), 2u + 2u + 200u);
}

TEST(Response, ZeroBytesParseToEmptyMessage)
{
    MsgWebResponse response;
    ASSERT_TRUE(response.ParseFromString(""));
    EXPECT_FALSE(response.has_status());
    EXPECT_EQ(response.status(), 0);
    EXPECT_EQ(response.SerializeAsString(), "");
}

TEST(Response, StatusOutsideItsValuesIsDroppedAndParseSucceeds)
{
    for (const char* body : {"08 09", "08 13", "08 FF FF FF FF FF FF FF FF FF 01"}) {
        MsgWebResponse response;
        ASSERT_TRUE(response.ParseFromString(Bytes(body))) << body;
        EXPECT_FALSE(response.has_status()) << body;
        EXPECT_EQ(response.status(), 0) << body;
    }
}

TEST(Response, StatusValuesAroundTheGapAreKept)
{
    for (int status : {8, 10, 18}) {
        MsgWebResponse response;
        ASSERT_TRUE(response.ParseFromString(Bytes("08") + static_cast<char>(status)));
        EXPECT_TRUE(response.has_status());
        EXPECT_EQ(response.status(), status);
    }
}

TEST(Response, DroppedStatusLeavesEarlierValueInPlace)
{
    MsgWebResponse response;
    ASSERT_TRUE(response.ParseFromString(Bytes("08 01 08 09")));
    EXPECT_TRUE(response.has_status());
    EXPECT_EQ(response.status(), SUCCESS);
}

TEST(Response, Field130ReadsPackedAndUnpackedInOrderAndWritesUnpacked)
{
    // 5 unpacked, {1, 2, 3} packed, -1 unpacked as a ten-byte varint.
    MsgWebResponse response;
    ASSERT_TRUE(response.ParseFromString(
        Bytes("90 08 05 92 08 03 01 02 03 90 08 FF FF FF FF FF FF FF FF FF 01")));
    ASSERT_EQ(response.field_130_size(), 5);
    EXPECT_EQ(response.field_130(0), 5);
    EXPECT_EQ(response.field_130(1), 1);
    EXPECT_EQ(response.field_130(2), 2);
    EXPECT_EQ(response.field_130(3), 3);
    EXPECT_EQ(response.field_130(4), -1);

    EXPECT_EQ(Hex(response.SerializeAsString()),
              "90 08 05 90 08 01 90 08 02 90 08 03 90 08 FF FF FF FF FF FF FF FF FF 01");
}

TEST(Response, Field92ReadsTrueUnlessReceivedFalse)
{
    MsgWebResponse response;
    EXPECT_FALSE(response.has_field_92());
    EXPECT_TRUE(response.field_92());

    ASSERT_TRUE(response.ParseFromString(Bytes("E0 05 00")));
    EXPECT_TRUE(response.has_field_92());
    EXPECT_FALSE(response.field_92());
    EXPECT_EQ(Hex(response.SerializeAsString()), "E0 05 00");

    response.Clear();
    EXPECT_FALSE(response.has_field_92());
    EXPECT_TRUE(response.field_92());
    EXPECT_EQ(response.SerializeAsString(), "");
}
