#pragma once

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>

#include <gtest/gtest.h>
#include <httplib.h>

#include "test_host.h"
#include "tls_exchange.h"

namespace testhost {

// How long the host may take to do what it is told, and how long a
// connection must stay quiet to count as stalled.
constexpr std::chrono::milliseconds kPrompt{2000};
constexpr std::chrono::milliseconds kQuietSpell{300};

// The test PKI made by scripts/make-test-pki; CTest names its directory.
inline std::string PkiDir() {
  const char* dir = std::getenv("TESTHOST_PKI");
  return dir ? dir : "testpki";
}

inline std::string PkiFile(const std::string& name) { return PkiDir() + "/" + name; }

struct RawResponse {
  std::string head;
  std::string body;
};

inline RawResponse SplitResponse(const std::string& raw) {
  const auto end_of_head = raw.find("\r\n\r\n");
  if (end_of_head == std::string::npos) return {raw, {}};
  return {raw.substr(0, end_of_head + 2), raw.substr(end_of_head + 4)};
}

inline std::string RequestText(const std::string& method, const std::string& path,
                               const std::string& body = {},
                               const std::string& extra_headers = {}) {
  return method + " " + path + " HTTP/1.1\r\nHost: localhost\r\n" + extra_headers +
         "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

// Every port 0: any free ones, so tests never meet a running host.
inline HostPorts AnyFreePorts() { return HostPorts{0, 0, 0, 0, 0, 0}; }

// A test host on free loopback ports, started fresh for every test.
class HostTest : public ::testing::Test {
 protected:
  HostTest() : host_(PkiDir()) {}

  void SetUp() override {
    std::string error;
    ASSERT_TRUE(host_.Start(AnyFreePorts(), error)) << error;
    control_ = std::make_unique<httplib::Client>("127.0.0.1", host_.ports().control);
  }

  // POST /route?<query> with `body`; the control API's status.
  int SetRoute(const std::string& query, const std::string& body,
               const char* content_type = "application/octet-stream") {
    const auto result = control_->Post(("/route?" + query).c_str(), body, content_type);
    return result ? result->status : -1;
  }

  // POST on the control API without a body; its status.
  int Command(const std::string& target) {
    const auto result = control_->Post(target.c_str(), "", "text/plain");
    return result ? result->status : -1;
  }

  // GET on the control API: status and body.
  std::pair<int, std::string> Query(const std::string& target) {
    const auto result = control_->Get(target.c_str());
    if (!result) return {-1, {}};
    return {result->status, result->body};
  }

  TlsExchange Send(int port, const std::string& method, const std::string& path,
                   const std::string& body = {}, const std::string& extra_headers = {},
                   const std::string& ca = "ca.crt") {
    return ExchangeOverTls(port, PkiFile(ca), RequestText(method, path, body, extra_headers));
  }

  RawResponse Get(const std::string& path) {
    const TlsExchange exchange = Send(host_.ports().download, "GET", path);
    EXPECT_TRUE(exchange.verified);
    return SplitResponse(exchange.response);
  }

  TestHost host_;
  std::unique_ptr<httplib::Client> control_;
};

}  // namespace testhost
