#pragma once

#include <string>

#include <httplib.h>

#include "listeners.h"
#include "request_log.h"
#include "route_table.h"
#include "server_thread.h"

namespace testhost {

// The loopback test host: a plain HTTP control listener through which tests
// set up and inspect the listeners that the program under test talks to.
class TestHost {
 public:
  explicit TestHost(const std::string& pki_dir);
  ~TestHost();
  TestHost(const TestHost&) = delete;
  TestHost& operator=(const TestHost&) = delete;

  // Binds every listener on 127.0.0.1 and serves each on its own thread.
  bool Start(const HostPorts& requested, std::string& error);
  // Ends slow responses, closes the listeners and waits for their threads.
  void Stop();
  const HostPorts& ports() const { return ports_; }

 private:
  RouteTable routes_;
  RequestLog requests_;
  Listeners listeners_;
  httplib::Server control_;
  ServerThread control_thread_;
  HostPorts ports_;
};

}  // namespace testhost
