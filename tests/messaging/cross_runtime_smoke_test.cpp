// The one exchange the download manager performs, checked byte for byte in
// whichever runtime the preset targets (natively, and under wine64 for win64),
// so a cross-built runtime that encodes or decodes differently shows up here.
#include <gtest/gtest.h>

#include "hex_bytes.h"
#include "msgwebrequest.pb.h"
#include "msgwebresponse-copy.pb.h"
#include "wire_parse.h"

using namespace com::tarvic::vem::messaging;
using messaging_test::Bytes;
using messaging_test::Hex;

namespace {

std::string PatchDownloadRequest(const std::string& token)
{
    MsgWebRequest request;
    request.set_request_type(PATCH_DOWNLOAD_DETAILS);
    request.set_setup_token(token);
    return request.SerializeAsString();
}

}  // namespace

TEST(CrossRuntimeSmoke, RequestWithEmptyTokenStillCarriesTheTokenField)
{
    EXPECT_EQ(Hex(PatchDownloadRequest("")), "08 D2 01 92 08 00");
}

TEST(CrossRuntimeSmoke, RequestCarriesTokenBytesAfterTheOperation)
{
    EXPECT_EQ(Hex(PatchDownloadRequest("ABC123")), "08 D2 01 92 08 06 41 42 43 31 32 33");
}

TEST(CrossRuntimeSmoke, TokenFromZeroTerminatedStringKeepsHighBytes)
{
    MsgWebRequest request;
    request.set_request_type(PATCH_DOWNLOAD_DETAILS);
    request.set_setup_token("\xE9z");
    EXPECT_EQ(Hex(request.SerializeAsString()), "08 D2 01 92 08 02 E9 7A");
}

TEST(CrossRuntimeSmoke, SuccessfulResponseYieldsUrlAndCommandAmongSkippedFields)
{
    // status 1, an undeclared field 2, unused field 92 = false, then fields 200 and 201.
    const std::string body = Bytes(
        "08 01 10 2A E0 05 00 "
        "C2 0C 0E 68 74 74 70 3A 2F 2F 68 2F 70 2E 6D 73 69 "
        "CA 0C 09 70 2E 6D 73 69 20 2F 71 6E");

    MsgWebResponse response;
    ASSERT_TRUE(messaging::ParseWireMessage(body, response));
    ASSERT_TRUE(response.has_status());
    EXPECT_EQ(response.status(), SUCCESS);
    EXPECT_EQ(response.patch_download_url(), "http://h/p.msi");
    EXPECT_EQ(response.patch_install_command(), "p.msi /qn");
    EXPECT_FALSE(response.field_92());
}
