#include <string>

#include "host_fixture.h"

namespace testhost {
namespace {

TEST_F(HostTest, HealthAnswersOk) {
  EXPECT_EQ(Query("/health"), std::make_pair(200, std::string("ok")));
}

TEST_F(HostTest, RouteIsServedReplacedAndCleared) {
  ASSERT_EQ(SetRoute("path=/vta/a.msi", "first"), 200);
  EXPECT_EQ(Get("/vta/a.msi").body, "first");

  ASSERT_EQ(SetRoute("path=/vta/a.msi&status=500", "second"), 200);
  const RawResponse replaced = Get("/vta/a.msi");
  EXPECT_EQ(replaced.head.rfind("HTTP/1.1 500 ", 0), 0u) << replaced.head;
  EXPECT_EQ(replaced.body, "second");
  EXPECT_EQ(Query("/requests/count?path=/vta/a.msi").second, "2");

  ASSERT_EQ(Command("/reset"), 200);
  EXPECT_EQ(Get("/vta/a.msi").head.rfind("HTTP/1.1 404 ", 0), 0u);
  // The 404 above is the only request since the reset.
  EXPECT_EQ(Query("/requests/count?path=/vta/a.msi").second, "1");
}

TEST_F(HostTest, QueuedRoutesAnswerAheadOfTheStandingRouteInTurn) {
  ASSERT_EQ(SetRoute("path=/ws&status=200", "standing"), 200);
  ASSERT_EQ(SetRoute("path=/ws&status=503&times=2", "busy"), 200);
  ASSERT_EQ(SetRoute("path=/ws&status=500&times=1", "broken"), 200);
  for (const char* expected : {"busy", "busy", "broken", "standing", "standing"}) {
    EXPECT_EQ(Get("/ws").body, expected);
  }

  ASSERT_EQ(SetRoute("path=/once&times=1", "only"), 200);
  EXPECT_EQ(Get("/once").body, "only");
  EXPECT_EQ(Get("/once").head.rfind("HTTP/1.1 404 ", 0), 0u);
}

TEST_F(HostTest, EncodedPathParameterNamesTheDecodedPath) {
  ASSERT_EQ(SetRoute("path=%2Fvem-ws%2FVemSecureHttpServlet", "answer"), 200);
  EXPECT_EQ(Get("/vem-ws/VemSecureHttpServlet").body, "answer");
}

TEST_F(HostTest, QueriesAboutUnseenPathsSayNothingWasRecorded) {
  EXPECT_EQ(Query("/requests/count?path=/never"), std::make_pair(200, std::string("0")));
  EXPECT_EQ(Query("/requests/last?path=/never").first, 404);
  EXPECT_EQ(Query("/requests/header?path=/never&name=Host").first, 404);
  EXPECT_EQ(Query("/requests/count").first, 400);
}

TEST_F(HostTest, MalformedRouteParametersAreRejectedAndChangeNothing) {
  for (const char* query :
       {"status=200", "path=relative", "path=/x&status=abc", "path=/x&status=99",
        "path=/x&status=600", "path=/x&length=-1", "path=/x&length=some", "path=/x&chunk=0",
        "path=/x&chunk=1k", "path=/x&chunk_delay_ms=-5", "path=/x&pause_before_ms=9999999",
        "path=/x&times=-1", "path=/x&chunk_size=4", "path=/x&header=NoColon",
        "path=/x&header=Bad%20Name:%20v", "path=/x&header=:%20v", "path=/x&header=X:%20a%0D%0AY:%20b",
        "path=/x&header=Content-Length:%205", "path=/x&header=transfer-encoding:%20chunked",
        "path=/x&ranges=2", "path=/x&cut_after=-1"}) {
    SCOPED_TRACE(query);
    EXPECT_EQ(SetRoute(query, "body"), 400);
  }
  EXPECT_EQ(Get("/x").head.rfind("HTTP/1.1 404 ", 0), 0u);
}

TEST_F(HostTest, RouteBodyIsTakenRawWhateverItsContentType) {
  // Form-encoded bodies must be neither parsed nor refused for their size.
  std::string body(100000, 'a');
  body += "&path=/elsewhere&status=500";
  body += std::string(3, '\0');
  ASSERT_EQ(SetRoute("path=/vta/big.msi", body, "application/x-www-form-urlencoded"), 200);
  const RawResponse served = Get("/vta/big.msi");
  EXPECT_EQ(served.head.rfind("HTTP/1.1 200 ", 0), 0u);
  EXPECT_EQ(served.body, body);
}

}  // namespace
}  // namespace testhost
