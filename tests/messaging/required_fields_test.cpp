// MsgJobState and MsgActionStatus carry the library's only required fields;
// every message that can hold them, however deep, must refuse to parse
// without them.
#include <gtest/gtest.h>

#include "hex_bytes.h"
#include "msgintervention.pb.h"
#include "msgwebrequest.pb.h"
#include "msgwebresponse-copy.pb.h"

using namespace com::tarvic::vem::messaging;
using messaging_test::Bytes;

namespace {

// A response holding MsgSessionLog > MsgInterventionLog (4) > MsgJobInfo (5) >
// MsgJobState (12), once with all four state fields and once without field 4.
struct SessionLogPath {
    const char* name;
    const char* complete;
    const char* incomplete;
};

const SessionLogPath kSessionLogPaths[] = {
    {"Field31",
     "FA 01 0E 22 0C 2A 0A 62 08 0A 00 10 00 1A 00 22 00",
     "FA 01 0C 22 0A 2A 08 62 06 0A 00 10 00 1A 00"},
    {"Field190List",
     "F2 0B 10 12 0E 22 0C 2A 0A 62 08 0A 00 10 00 1A 00 22 00",
     "F2 0B 0E 12 0C 22 0A 2A 08 62 06 0A 00 10 00 1A 00"},
    {"Field192Single",
     "82 0C 10 12 0E 22 0C 2A 0A 62 08 0A 00 10 00 1A 00 22 00",
     "82 0C 0E 12 0C 22 0A 2A 08 62 06 0A 00 10 00 1A 00"},
};

void PrintTo(const SessionLogPath& path, std::ostream* out)
{
    *out << path.name;
}

class ResponseSessionLog : public testing::TestWithParam<SessionLogPath> {};

// In the anonymous namespace with their fixture: in a unity batch this file
// is included, and GCC warns when a test class outside derives from it.
TEST_P(ResponseSessionLog, ParsesWithCompleteJobState)
{
    MsgWebResponse response;
    EXPECT_TRUE(response.ParseFromString(Bytes(GetParam().complete)));
}

TEST_P(ResponseSessionLog, FailsWithoutRequiredJobStateField)
{
    MsgWebResponse response;
    EXPECT_FALSE(response.ParseFromString(Bytes(GetParam().incomplete)));

    // Well-formed apart from the missing field: only the required check refuses it.
    ASSERT_TRUE(response.ParsePartialFromString(Bytes(GetParam().incomplete)));
    EXPECT_FALSE(response.IsInitialized());
}

INSTANTIATE_TEST_SUITE_P(NestingChains, ResponseSessionLog, testing::ValuesIn(kSessionLogPaths),
                         [](const testing::TestParamInfo<SessionLogPath>& info) { return info.param.name; });

}  // namespace

TEST(JobState, EachOfItsFourFieldsIsRequired)
{
    const char* const fields[] = {"0A 00", "10 00", "1A 00", "22 00"};
    for (int omitted = 0; omitted < 4; ++omitted) {
        std::string bytes;
        for (int i = 0; i < 4; ++i)
            if (i != omitted)
                bytes += Bytes(fields[i]);
        MsgJobState state;
        EXPECT_FALSE(state.ParseFromString(bytes)) << "without field " << omitted + 1;
    }
}

TEST(ActionStatus, FieldsOneAndTwoAloneMakeItInitialized)
{
    MsgActionStatus status;
    status.set_field_1("");
    EXPECT_FALSE(status.IsInitialized());
    status.set_field_2(0);
    EXPECT_TRUE(status.IsInitialized());
}

TEST(ActionStatus, JobInfoChecksItsActionStatuses)
{
    // Field 17 holding an action status with fields 1 and 2, then one with field 1 only.
    MsgJobInfo job;
    EXPECT_TRUE(job.ParseFromString(Bytes("8A 01 04 0A 00 10 00")));
    EXPECT_FALSE(job.ParseFromString(Bytes("8A 01 04 0A 00 10 00 8A 01 02 0A 00")));
}

TEST(Request, SessionLogFieldsAreCheckedForRequiredFields)
{
    for (auto session_log : {&MsgWebRequest::mutable_field_31, &MsgWebRequest::mutable_field_32}) {
        MsgWebRequest request;
        MsgJobState* state = (request.*session_log)()->add_field_4()->add_field_5()->add_field_12();
        state->set_field_1("");
        state->set_field_2(0);
        state->set_field_3("");
        EXPECT_FALSE(request.IsInitialized());
        state->set_field_4("");
        EXPECT_TRUE(request.IsInitialized());
    }
}
