#include <chrono>
#include <string>

#include "host_fixture.h"

namespace testhost {
namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

bool HasHeader(const RawResponse& response, const std::string& line) {
  return response.head.find("\r\n" + line + "\r\n") != std::string::npos;
}

bool HasHeaderNamed(const RawResponse& response, const std::string& name) {
  return response.head.find("\r\n" + name + ": ") != std::string::npos;
}

TEST_F(HostTest, AutoLengthDeclaresTheBodyAndPacesItsPieces) {
  const std::string body("abc\0efghij", 10);
  ASSERT_EQ(SetRoute("path=/p&chunk=4&chunk_delay_ms=150", body), 200);
  const auto start = steady_clock::now();
  const TlsExchange exchange = Send(host_.ports().download, "GET", "/p");
  const auto elapsed = steady_clock::now() - start;

  const RawResponse response = SplitResponse(exchange.response);
  EXPECT_TRUE(HasHeader(response, "Content-Length: 10"));
  EXPECT_EQ(response.body, body);
  EXPECT_TRUE(exchange.orderly_close);
  // Three pieces, two pauses between them.
  EXPECT_GE(elapsed, milliseconds(300));
}

TEST_F(HostTest, NoLengthSendsEachPieceAsOneChunk) {
  ASSERT_EQ(SetRoute("path=/p&length=none&chunk=4", "abcdefghij"), 200);
  const RawResponse response = Get("/p");
  EXPECT_TRUE(HasHeader(response, "Transfer-Encoding: chunked"));
  EXPECT_FALSE(HasHeaderNamed(response, "Content-Length"));
  EXPECT_EQ(response.body, "4\r\nabcd\r\n4\r\nefgh\r\n2\r\nij\r\n0\r\n\r\n");
}

TEST_F(HostTest, DeclaredLengthBeyondTheBodyCutsItShortWithAnOrderlyClose) {
  const std::string body(1000, 'x');
  ASSERT_EQ(SetRoute("path=/p&length=2500", body), 200);
  const TlsExchange exchange = Send(host_.ports().download, "GET", "/p");
  const RawResponse response = SplitResponse(exchange.response);
  EXPECT_TRUE(HasHeader(response, "Content-Length: 2500"));
  EXPECT_EQ(response.body, body);
  EXPECT_TRUE(exchange.orderly_close);
}

TEST_F(HostTest, DeclaredLengthBelowTheBodySendsOnlyThatMuch) {
  ASSERT_EQ(SetRoute("path=/p&length=3", "abcdef"), 200);
  const RawResponse response = Get("/p");
  EXPECT_TRUE(HasHeader(response, "Content-Length: 3"));
  EXPECT_EQ(response.body, "abc");
}

// A download that resumes asks "Range: bytes=N-", with If-Range naming the
// validator it was given; the host must answer as a real one does.
TEST_F(HostTest, ARouteThatServesRangesAnswersThemAsARealHostDoes) {
  ASSERT_EQ(SetRoute("path=/p&ranges=1&header=ETag:%20%22v1%22&header=Accept-Ranges:%20bytes",
                     "abcdefghij"),
            200);
  const auto ranged = [this](const std::string& headers) {
    return SplitResponse(Send(host_.ports().download, "GET", "/p", {}, headers).response);
  };

  const RawResponse resumed = ranged("Range: bytes=4-\r\nIf-Range: \"v1\"\r\n");
  EXPECT_EQ(resumed.head.substr(0, 12), "HTTP/1.1 206");
  EXPECT_TRUE(HasHeader(resumed, "Content-Range: bytes 4-9/10"));
  EXPECT_TRUE(HasHeader(resumed, "Content-Length: 6"));
  EXPECT_EQ(resumed.body, "efghij");

  EXPECT_EQ(ranged("Range: bytes=9-\r\n").body, "j");

  const RawResponse changed = ranged("Range: bytes=4-\r\nIf-Range: \"v0\"\r\n");
  EXPECT_EQ(changed.head.substr(0, 12), "HTTP/1.1 200");
  EXPECT_FALSE(HasHeaderNamed(changed, "Content-Range"));
  EXPECT_EQ(changed.body, "abcdefghij");

  const RawResponse beyond = ranged("Range: bytes=10-\r\n");
  EXPECT_EQ(beyond.head.substr(0, 12), "HTTP/1.1 416");
  EXPECT_TRUE(HasHeader(beyond, "Content-Range: bytes */10"));
  EXPECT_EQ(beyond.body, "");

  EXPECT_EQ(Query("/requests/headers?path=/p&name=range").second,
            "bytes=4-\nbytes=9-\nbytes=4-\nbytes=10-\n");
}

TEST_F(HostTest, ARouteWithoutRangesSendsTheWholeBodyWhateverTheRangeAsked) {
  ASSERT_EQ(SetRoute("path=/p", "abcdefghij"), 200);
  const RawResponse response = SplitResponse(
      Send(host_.ports().download, "GET", "/p", {}, "Range: bytes=4-\r\n").response);
  EXPECT_EQ(response.head.substr(0, 12), "HTTP/1.1 200");
  EXPECT_TRUE(HasHeader(response, "Content-Length: 10"));
  EXPECT_EQ(response.body, "abcdefghij");
}

TEST_F(HostTest, CutAfterDropsTheConnectionInTheBodyOfEachRequest) {
  ASSERT_EQ(SetRoute("path=/p&ranges=1&cut_after=3&chunk=2", "abcdefghij"), 200);
  const RawResponse first = Get("/p");
  EXPECT_TRUE(HasHeader(first, "Content-Length: 10"));
  EXPECT_EQ(first.body, "abc");
  // The cut counts the bytes of this answer, not of the body.
  const RawResponse resumed = SplitResponse(
      Send(host_.ports().download, "GET", "/p", {}, "Range: bytes=3-\r\n").response);
  EXPECT_TRUE(HasHeader(resumed, "Content-Range: bytes 3-9/10"));
  EXPECT_EQ(resumed.body, "def");
}

TEST_F(HostTest, PauseBeforeHoldsBackTheWholeResponse) {
  ASSERT_EQ(SetRoute("path=/p&pause_before_ms=300&status=503", "late"), 200);
  const auto start = steady_clock::now();
  const RawResponse response = Get("/p");
  EXPECT_GE(steady_clock::now() - start, milliseconds(300));
  EXPECT_EQ(response.head.rfind("HTTP/1.1 503 ", 0), 0u);
  EXPECT_EQ(response.body, "late");
}

TEST_F(HostTest, RouteHeadersAreSentAndTheirContentTypeReplacesTheDefault) {
  ASSERT_EQ(SetRoute("path=/p&header=Cache-Control:%20max-age%3D3600&header=ETag:%20%22abc%22"
                     "&header=Last-Modified:Tue,%2015%20Nov%202022%2008:12:31%20GMT"
                     "&header=content-type:%20text/html",
                     "<p>"),
            200);
  const RawResponse response = Get("/p");
  EXPECT_TRUE(HasHeader(response, "Cache-Control: max-age=3600"));
  EXPECT_TRUE(HasHeader(response, "ETag: \"abc\""));
  EXPECT_TRUE(HasHeader(response, "Last-Modified: Tue, 15 Nov 2022 08:12:31 GMT"));
  EXPECT_TRUE(HasHeader(response, "content-type: text/html"));
  EXPECT_FALSE(HasHeaderNamed(response, "Content-Type"));
  EXPECT_TRUE(HasHeader(response, "Content-Length: 3"));
  EXPECT_EQ(response.body, "<p>");
}

TEST_F(HostTest, EveryMethodIsAnsweredAndRecorded) {
  ASSERT_EQ(SetRoute("path=/any", "reply"), 200);
  int sent = 0;
  for (const char* method : {"GET", "POST", "PUT", "PATCH", "DELETE", "OPTIONS"}) {
    SCOPED_TRACE(method);
    const std::string name = method;
    const bool carries_body = name != "GET" && name != "OPTIONS";
    const std::string body = carries_body ? name + std::string(2, '\0') + "\xff" : "";
    const TlsExchange exchange =
        Send(host_.ports().service, method, "/any?ignored=1", body, "X-Probe: one\r\n");
    EXPECT_EQ(SplitResponse(exchange.response).body, "reply");
    ++sent;
    EXPECT_EQ(Query("/requests/count?path=/any").second, std::to_string(sent));
    EXPECT_EQ(Query("/requests/last?path=/any").second, body);
    EXPECT_EQ(Query("/requests/header?path=/any&name=x-probe").second, "one");
  }
  EXPECT_EQ(Query("/requests/header?path=/any&name=REMOTE_ADDR").first, 404);
}

TEST_F(HostTest, UnknownPathIsAShort404AndStillRecorded) {
  const TlsExchange exchange = Send(host_.ports().service, "POST", "/nowhere", "token");
  const RawResponse response = SplitResponse(exchange.response);
  EXPECT_EQ(response.head.rfind("HTTP/1.1 404 ", 0), 0u);
  EXPECT_LT(response.body.size(), 100u);
  EXPECT_EQ(Query("/requests/last?path=/nowhere").second, "token");
}

TEST_F(HostTest, HttpsListenersShareRoutesButOnlyTheTestCaVouchesForTwo) {
  ASSERT_EQ(SetRoute("path=/shared", "same"), 200);
  for (int port : {host_.ports().download, host_.ports().service}) {
    const TlsExchange exchange = Send(port, "GET", "/shared");
    EXPECT_TRUE(exchange.verified);
    EXPECT_EQ(SplitResponse(exchange.response).body, "same");
  }
  EXPECT_FALSE(Send(host_.ports().untrusted, "GET", "/shared").verified);
  const TlsExchange other_ca =
      Send(host_.ports().untrusted, "GET", "/shared", {}, {}, "untrusted-ca.crt");
  EXPECT_TRUE(other_ca.verified);
  EXPECT_EQ(SplitResponse(other_ca.response).body, "same");
}

TEST_F(HostTest, ASecondHostCannotTakeThePortsOfARunningOne) {
  TestHost second(PkiDir());
  std::string error;
  EXPECT_FALSE(second.Start(host_.ports(), error));
  EXPECT_NE(error.find("control"), std::string::npos) << error;
}

}  // namespace
}  // namespace testhost
