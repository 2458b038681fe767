#include <cerrno>
#include <chrono>
#include <string>
#include <vector>

#include "host_fixture.h"
#include "loopback_client.h"

namespace testhost {
namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

class ListenerTest : public HostTest {
 protected:
  std::string ConnectionCount(const std::string& listener) {
    return Query("/connections/count?listener=" + listener).second;
  }

  // Waits for the host's count to reach `expected`; the count it got to.
  std::string AwaitConnectionCount(const std::string& listener, const std::string& expected) {
    const auto deadline = steady_clock::now() + kPrompt;
    std::string count = ConnectionCount(listener);
    while (count != expected && steady_clock::now() < deadline) {
      std::this_thread::sleep_for(milliseconds(10));
      count = ConnectionCount(listener);
    }
    return count;
  }

  bool Refused(int port) {
    const UniqueFd connection = ConnectToLoopback(port);
    return !connection.valid() && errno == ECONNREFUSED;
  }
};

TEST_F(ListenerTest, PlainListenerServesTheSameRoutesAndRecordsItsRequests) {
  ASSERT_EQ(SetRoute("path=/vta/a.msi&header=ETag:%20%22p%22", "package"), 200);
  httplib::Client plain("127.0.0.1", host_.ports().plain);
  const auto result = plain.Get("/vta/a.msi", {{"X-Probe", "plain"}});
  ASSERT_TRUE(result);
  EXPECT_EQ(result->status, 200);
  EXPECT_EQ(result->body, "package");
  EXPECT_EQ(result->get_header_value("ETag"), "\"p\"");
  EXPECT_EQ(Query("/requests/count?path=/vta/a.msi").second, "1");
  EXPECT_EQ(Query("/requests/header?path=/vta/a.msi&name=X-Probe").second, "plain");
}

TEST_F(ListenerTest, SilentListenerHoldsConnectionsWithoutAByteUntilReset) {
  std::vector<UniqueFd> connections;
  for (int i = 0; i < 2; ++i) {
    connections.push_back(ConnectToLoopback(host_.ports().silent));
    ASSERT_TRUE(connections.back().valid());
  }
  // A client's greeting gets no answer either.
  ASSERT_EQ(send(connections[0].get(), "\x16\x03\x01", 3, MSG_NOSIGNAL), 3);
  EXPECT_EQ(AwaitConnectionCount("silent", "2"), "2");
  for (const UniqueFd& connection : connections) {
    EXPECT_EQ(ObserveFor(connection.get(), kQuietSpell), SocketState::kQuiet);
  }

  ASSERT_EQ(Command("/reset"), 200);
  for (const UniqueFd& connection : connections) {
    EXPECT_EQ(ObserveFor(connection.get(), kPrompt), SocketState::kEnded);
  }
  EXPECT_EQ(ConnectionCount("silent"), "0");

  const UniqueFd after_reset = ConnectToLoopback(host_.ports().silent);
  EXPECT_EQ(AwaitConnectionCount("silent", "1"), "1");
  host_.Stop();
  EXPECT_EQ(ObserveFor(after_reset.get(), kPrompt), SocketState::kEnded);
}

TEST_F(ListenerTest, TlsHandshakesAreCountedPerListenerEvenWhenTheClientRefusesTheCertificate) {
  ASSERT_EQ(SetRoute("path=/p", "body"), 200);
  EXPECT_FALSE(Send(host_.ports().untrusted, "GET", "/p").verified);
  Get("/p");
  Get("/p");
  EXPECT_EQ(ConnectionCount("untrusted"), "1");
  EXPECT_EQ(ConnectionCount("download"), "2");
  EXPECT_EQ(ConnectionCount("service"), "0");
  // Refused before a request was made: none was recorded.
  EXPECT_EQ(Query("/requests/count?path=/p").second, "2");

  ASSERT_EQ(Command("/reset"), 200);
  for (const char* listener : {"untrusted", "download", "service"}) {
    EXPECT_EQ(ConnectionCount(listener), "0") << listener;
  }
  for (const char* listener : {"plain", "control", "nowhere", ""}) {
    EXPECT_EQ(Query(std::string("/connections/count?listener=") + listener).first, 400)
        << listener;
  }
}

TEST_F(ListenerTest, ClosedListenerRefusesConnectionsUntilOpenedOrReset) {
  ASSERT_EQ(SetRoute("path=/p", "body"), 200);
  for (const char* reopen : {"/listener?name=download&state=open", "/reset"}) {
    SCOPED_TRACE(reopen);
    ASSERT_EQ(Command("/listener?name=download&state=closed"), 200);
    // Closing what is closed changes nothing.
    ASSERT_EQ(Command("/listener?name=download&state=closed"), 200);
    EXPECT_TRUE(Refused(host_.ports().download));
    EXPECT_EQ(SplitResponse(Send(host_.ports().service, "GET", "/p").response).body, "body");

    ASSERT_EQ(Command(reopen), 200);
    ASSERT_EQ(SetRoute("path=/p", "body"), 200);
    EXPECT_EQ(Get("/p").body, "body");
  }
  ASSERT_EQ(Command("/listener?name=silent&state=closed"), 200);
  EXPECT_TRUE(Refused(host_.ports().silent));
  ASSERT_EQ(Command("/reset"), 200);
  EXPECT_FALSE(Refused(host_.ports().silent));
}

TEST_F(ListenerTest, ClosingAListenerEndsItsStalledResponsesPromptly) {
  ASSERT_EQ(SetRoute("path=/stall&pause_before_ms=60000", "late"), 200);
  TlsConnection connection(host_.ports().download, PkiFile("ca.crt"));
  ASSERT_TRUE(connection.Send(RequestText("GET", "/stall")));
  while (Query("/requests/count?path=/stall").second != "1") {
    std::this_thread::sleep_for(milliseconds(10));
  }
  const auto start = steady_clock::now();
  ASSERT_EQ(Command("/listener?name=download&state=closed"), 200);
  std::string rest;
  EXPECT_NE(connection.Read(rest, milliseconds(10000)), TlsConnection::State::kOpen);
  EXPECT_LT(steady_clock::now() - start, kPrompt);
}

TEST_F(ListenerTest, MalformedListenerCommandsAreRejected) {
  for (const char* target :
       {"/listener?name=download", "/listener?name=download&state=shut",
        "/listener?name=control&state=closed", "/listener?state=closed"}) {
    EXPECT_EQ(Command(target), 400) << target;
  }
  EXPECT_FALSE(Refused(host_.ports().download));
}

}  // namespace
}  // namespace testhost
