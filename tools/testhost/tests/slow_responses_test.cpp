#include <chrono>
#include <memory>
#include <string>

#include "host_fixture.h"

namespace testhost {
namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

// The two ways a download stalls: headers and the first 8 KiB, then nothing;
// or nothing at all, the headers held back.
struct Stall {
  const char* route;
  // Body bytes that arrive, after the head, before the stall; 0: not even
  // the head arrives.
  std::size_t body_before;
};

const Stall kStalls[] = {
    {"path=/stall&chunk=8192&chunk_delay_ms=60000", 8192},
    {"path=/stall&pause_before_ms=60000", 0},
};

// Reads until `received` holds the whole head and `body_bytes` of the body.
bool ReadHeadAndBody(TlsConnection& connection, std::string& received, std::size_t body_bytes) {
  const auto deadline = steady_clock::now() + kPrompt;
  for (;;) {
    const auto head_end = received.find("\r\n\r\n");
    if (head_end != std::string::npos && received.size() - head_end - 4 >= body_bytes) {
      return true;
    }
    const auto left = std::chrono::duration_cast<milliseconds>(deadline - steady_clock::now());
    if (left <= milliseconds(0) ||
        connection.Read(received, left, received.size() + 1) != TlsConnection::State::kOpen) {
      return false;
    }
  }
}

class StalledResponseTest : public HostTest {
 protected:
  // Starts a stalled response and checks that it stalls where it should.
  std::unique_ptr<TlsConnection> StartStall(const Stall& stall) {
    EXPECT_EQ(SetRoute(stall.route, std::string(20000, 's')), 200);
    auto connection =
        std::make_unique<TlsConnection>(host_.ports().download, PkiFile("ca.crt"));
    EXPECT_TRUE(connection->Send(RequestText("GET", "/stall")));
    std::string received;
    if (stall.body_before > 0) {
      EXPECT_TRUE(ReadHeadAndBody(*connection, received, stall.body_before));
      const RawResponse response = SplitResponse(received);
      EXPECT_EQ(response.head.rfind("HTTP/1.1 200 ", 0), 0u) << response.head;
      EXPECT_NE(response.head.find("\r\nContent-Length: 20000\r\n"), std::string::npos);
      EXPECT_EQ(response.body.size(), stall.body_before);
    }
    std::string more;
    EXPECT_EQ(connection->Read(more, kQuietSpell), TlsConnection::State::kOpen);
    EXPECT_EQ(more.size(), 0u);
    return connection;
  }

  // How long the connection takes to end once `end` is done.
  template <typename Action>
  milliseconds TimeToEnd(TlsConnection& connection, Action end) {
    const auto start = steady_clock::now();
    end();
    std::string rest;
    EXPECT_NE(connection.Read(rest, milliseconds(10000)), TlsConnection::State::kOpen);
    return std::chrono::duration_cast<milliseconds>(steady_clock::now() - start);
  }
};

TEST_F(StalledResponseTest, StallsUntilAResetEndsItPromptly) {
  for (const Stall& stall : kStalls) {
    SCOPED_TRACE(stall.route);
    auto connection = StartStall(stall);
    EXPECT_LT(TimeToEnd(*connection, [this] { EXPECT_EQ(Command("/reset"), 200); }), kPrompt);
  }
  // The reset ended the stalls in progress, not the pauses of later responses.
  ASSERT_EQ(SetRoute("path=/late&pause_before_ms=300", "late"), 200);
  const auto start = steady_clock::now();
  EXPECT_EQ(Get("/late").body, "late");
  EXPECT_GE(steady_clock::now() - start, milliseconds(300));
}

TEST_F(StalledResponseTest, StoppingTheHostEndsStallsPromptly) {
  for (const Stall& stall : kStalls) {
    SCOPED_TRACE(stall.route);
    auto connection = StartStall(stall);
    EXPECT_LT(TimeToEnd(*connection, [this] { host_.Stop(); }), kPrompt);
    std::string error;
    ASSERT_TRUE(host_.Start(host_.ports(), error)) << error;
  }
}

}  // namespace
}  // namespace testhost
