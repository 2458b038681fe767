#pragma once

#include <string>
#include <thread>
#include <vector>

#include <httplib.h>

#include "request_log.h"
#include "route_table.h"
#include "stop_signal.h"

namespace testhost {

// Port 0 asks for any free port; Start reports the ones it got.
struct HostPorts {
  int control = 47440;
  int download = 47443;
  int service = 47444;
  int untrusted = 47445;
};

// The loopback test host: a plain HTTP control listener and three HTTPS
// listeners that share one route table. Two present the certificate of the
// trusted test CA (localhost.crt), one that of an unrelated CA (untrusted.crt).
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
  bool Listen(httplib::Server& server, const char* name, int requested, int& bound,
              std::string& error);

  RouteTable routes_;
  RequestLog requests_;
  StopSignal stopping_;
  httplib::Server control_;
  httplib::SSLServer download_;
  httplib::SSLServer service_;
  httplib::SSLServer untrusted_;
  std::vector<httplib::Server*> listening_;
  std::vector<std::thread> threads_;
  HostPorts ports_;
};

}  // namespace testhost
