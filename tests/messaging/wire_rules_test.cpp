// Encoding rules shared by every message class: key sizes, varint forms,
// skipping of fields a class does not expect, and merging on parse.
#include <gtest/gtest.h>

#include "hex_bytes.h"
#include "msgcommon.pb.h"
#include "msgcomponent.pb.h"
#include "msgintervention.pb.h"
#include "msginvitation.pb.h"
#include "msgmetric.pb.h"
#include "msgsysteminventorymessage.pb.h"
#include "msgwebresponse-copy.pb.h"

using namespace com::tarvic::vem::messaging;
using messaging_test::Bytes;
using messaging_test::Hex;

TEST(Keys, FieldsFrom16UpTakeTwoKeyBytes)
{
    MsgComponentInformation information;
    information.mutable_field_21();
    EXPECT_EQ(Hex(information.SerializeAsString()), "AA 01 00");

    MsgMetric metric;
    metric.set_field_15("");
    metric.mutable_field_17();
    EXPECT_EQ(Hex(metric.SerializeAsString()), "7A 00 8A 01 00");
}

TEST(Keys, TwoByteKeysRoundTrip)
{
    const std::string golden = "7A 00 80 01 01 88 01 02 90 01 03";

    MsgInviteCustomer invitation;
    invitation.set_field_15("");
    invitation.set_field_16(1);
    invitation.set_field_17(2);
    invitation.set_field_18(3);
    EXPECT_EQ(Hex(invitation.SerializeAsString()), golden);

    MsgInviteCustomer parsed;
    ASSERT_TRUE(parsed.ParseFromString(Bytes(golden)));
    EXPECT_TRUE(parsed.has_field_15());
    EXPECT_EQ(parsed.field_16(), 1);
    EXPECT_EQ(parsed.field_17(), 2);
    EXPECT_EQ(parsed.field_18(), 3);
}

TEST(Varints, NegativeEnumTakesTenBytesBothWays)
{
    const std::string golden = "20 FF FF FF FF FF FF FF FF FF 01";

    MsgEvent event;
    event.set_field_4(MSG_EVENT_FIELD4_VALUE_MINUS_1);
    EXPECT_EQ(Hex(event.SerializeAsString()), golden);

    MsgEvent parsed;
    ASSERT_TRUE(parsed.ParseFromString(Bytes(golden)));
    ASSERT_TRUE(parsed.has_field_4());
    EXPECT_EQ(parsed.field_4(), MSG_EVENT_FIELD4_VALUE_MINUS_1);
}

TEST(Varints, NegativeEnumAlsoReadFromItsLow32Bits)
{
    MsgEvent parsed;
    ASSERT_TRUE(parsed.ParseFromString(Bytes("20 FF FF FF FF 0F")));
    EXPECT_EQ(parsed.field_4(), MSG_EVENT_FIELD4_VALUE_MINUS_1);
}

TEST(Varints, NegativeInt32IsSignExtended)
{
    MsgJobInfo job;
    job.set_field_9(-2);
    EXPECT_EQ(Hex(job.SerializeAsString()), "48 FE FF FF FF FF FF FF FF FF 01");
}

TEST(Varints, Uint32AboveInt32RangeTakesFiveBytesBothWays)
{
    struct Case {
        uint32_t value;
        const char* golden;
    };
    for (const Case& c : {Case{2147483648u, "10 80 80 80 80 08"}, Case{4294967295u, "10 FF FF FF FF 0F"}}) {
        MsgJobInfo job;
        job.set_field_2(c.value);
        EXPECT_EQ(Hex(job.SerializeAsString()), c.golden);

        MsgJobInfo parsed;
        ASSERT_TRUE(parsed.ParseFromString(Bytes(c.golden)));
        EXPECT_EQ(parsed.field_2(), c.value);
    }
}

TEST(Doubles, WrittenAsEightLittleEndianBytes)
{
    MsgInventoryDoubleItem item;
    item.set_field_1(1.5);
    EXPECT_EQ(Hex(item.SerializeAsString()), "09 00 00 00 00 00 00 F8 3F");
}

TEST(Skipping, WrongWireTypeIsSkippedAndFieldStaysUnset)
{
    // Field 1 arrives as a varint instead of eight bytes; field 2 follows.
    MsgInventoryDoubleItem item;
    ASSERT_TRUE(item.ParseFromString(Bytes("08 05 12 01 41")));
    EXPECT_FALSE(item.has_field_1());
    EXPECT_EQ(item.field_1(), 0.0);
    EXPECT_EQ(item.field_2(), "A");
}

TEST(Skipping, UndeclaredNumberBetweenDeclaredOnesIsSkipped)
{
    // Field 5 is not declared by MsgDiskDrive; fields 1 and 6 surround it.
    MsgDiskDrive drive;
    ASSERT_TRUE(drive.ParseFromString(Bytes("0A 01 41 2A 01 58 32 01 42")));
    EXPECT_EQ(drive.field_1(), "A");
    EXPECT_EQ(drive.field_6(), "B");
}

TEST(Merging, SingularMessageReceivedTwiceIsMerged)
{
    // Field 80 twice: first with its field 1, then with its field 2.
    MsgWebResponse response;
    ASSERT_TRUE(response.ParseFromString(Bytes("82 05 03 0A 01 41 82 05 03 12 01 42")));
    EXPECT_EQ(response.field_80().field_1(), "A");
    EXPECT_EQ(response.field_80().field_2(), "B");
}

TEST(Merging, MergeReachesNestedMessagesAndLaterScalarsWin)
{
    // MsgComponent field 1 twice: its version (field 6) gets field 1 from the
    // first occurrence and field 2 from the second; its own field 1, sent
    // both times, keeps the later value.
    MsgComponent component;
    ASSERT_TRUE(component.ParseFromString(Bytes("0A 06 08 07 32 02 08 01 0A 06 08 09 32 02 10 02")));
    const MsgComponentInformation& information = component.field_1();
    EXPECT_EQ(information.field_1(), 9);
    EXPECT_EQ(information.field_6().field_1(), 1);
    EXPECT_EQ(information.field_6().field_2(), 2);
}

TEST(Merging, RepeatedMessagesAppendInInputOrder)
{
    MsgApplicationDescriptionList list;
    ASSERT_TRUE(list.ParseFromString(Bytes("0A 03 0A 01 41 0A 00 0A 03 12 01 42")));
    ASSERT_EQ(list.field_1_size(), 3);
    EXPECT_EQ(list.field_1(0).field_1(), "A");
    EXPECT_FALSE(list.field_1(1).has_field_1());
    EXPECT_EQ(list.field_1(2).field_2(), "B");
    EXPECT_EQ(Hex(list.SerializeAsString()), "0A 03 0A 01 41 0A 00 0A 03 12 01 42");
}
