#include <gtest/gtest.h>
#include "msgwebrequest.pb.h"
using namespace com::tarvic::vem::messaging;
TEST(Request, EmptyToken) {
  MsgWebRequest r; r.set_request_type(PATCH_DOWNLOAD_DETAILS); r.set_setup_token("");
  EXPECT_EQ(r.SerializeAsString(), std::string("\x08\xD2\x01\x92\x08\x00", 6));
}
