// Enumerations accept only their listed values, and fields whose default is
// not zero keep that default when unset and after Clear.
#include <gtest/gtest.h>

#include "hex_bytes.h"
#include "msgcommon.pb.h"
#include "msgintervention.pb.h"
#include "msglastsessionstate.pb.h"
#include "msgmetric.pb.h"
#include "msgwindowsevent.pb.h"

using namespace com::tarvic::vem::messaging;
using messaging_test::Bytes;
using messaging_test::Hex;

TEST(EnumValues, PermissionAcceptsOnly1_2And4AndReads1WhileUnset)
{
    for (const char* dropped : {"08 00", "08 03", "08 05"}) {
        MsgPermission permission;
        ASSERT_TRUE(permission.ParseFromString(Bytes(dropped))) << dropped;
        EXPECT_FALSE(permission.has_field_1()) << dropped;
        EXPECT_EQ(permission.field_1(), MSG_PERMISSION_FIELD1_VALUE_1) << dropped;
    }
    MsgPermission permission;
    ASSERT_TRUE(permission.ParseFromString(Bytes("08 04")));
    EXPECT_EQ(permission.field_1(), MSG_PERMISSION_FIELD1_VALUE_4);
}

TEST(EnumValues, MetricDropsZeroAndValuesPastItsRange)
{
    // 0 for each of fields 1 to 3, then 20 for field 2.
    MsgMetric metric;
    ASSERT_TRUE(metric.ParseFromString(Bytes("08 00 10 00 18 00 10 14")));
    EXPECT_FALSE(metric.has_field_1());
    EXPECT_FALSE(metric.has_field_2());
    EXPECT_FALSE(metric.has_field_3());
    EXPECT_EQ(metric.field_1(), MSG_METRIC_FIELD1_VALUE_1);
    EXPECT_EQ(metric.field_2(), MSG_METRIC_FIELD2_VALUE_1);
    EXPECT_EQ(metric.field_3(), MSG_METRIC_FIELD3_VALUE_1);

    ASSERT_TRUE(metric.ParseFromString(Bytes("10 13")));
    EXPECT_EQ(metric.field_2(), MSG_METRIC_FIELD2_VALUE_19);
}

TEST(EnumValues, UnsetMetricEnumsAreNotWritten)
{
    EXPECT_EQ(MsgMetric().SerializeAsString(), "");
}

TEST(EnumValues, LastSessionStateKeeps8AndDrops9)
{
    MsgLastSessionState state;
    ASSERT_TRUE(state.ParseFromString(Bytes("08 09")));
    EXPECT_FALSE(state.has_field_1());

    ASSERT_TRUE(state.ParseFromString(Bytes("08 08")));
    EXPECT_EQ(state.field_1(), MSG_LAST_SESSION_STATE_FIELD1_VALUE_8);
}

// SystemMessage and MsgChatLog both have an int32 field 3 that defaults to 1.
template <typename Message>
class DefaultOfOne : public testing::Test {};
using MessagesWithDefaultOfOne = testing::Types<SystemMessage, MsgChatLog>;
TYPED_TEST_SUITE(DefaultOfOne, MessagesWithDefaultOfOne);

TYPED_TEST(DefaultOfOne, ReadsOneWhileUnsetAndAfterClear)
{
    TypeParam message;
    EXPECT_FALSE(message.has_field_3());
    EXPECT_EQ(message.field_3(), 1);

    message.set_field_3(7);
    message.Clear();
    EXPECT_FALSE(message.has_field_3());
    EXPECT_EQ(message.field_3(), 1);
    EXPECT_EQ(message.SerializeAsString(), "");
}

TYPED_TEST(DefaultOfOne, PresentZeroIsWrittenAndReadBack)
{
    TypeParam message;
    message.set_field_3(0);
    EXPECT_EQ(Hex(message.SerializeAsString()), "18 00");

    TypeParam parsed;
    ASSERT_TRUE(parsed.ParseFromString(Bytes("18 00")));
    EXPECT_TRUE(parsed.has_field_3());
    EXPECT_EQ(parsed.field_3(), 0);
}

TEST(PresentDefaults, FalseBoolIsWritten)
{
    MsgWindowsEvent event;
    event.set_field_8(false);
    EXPECT_EQ(Hex(event.SerializeAsString()), "40 00");
}
