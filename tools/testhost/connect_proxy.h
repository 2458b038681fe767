#pragma once

#include <cstddef>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "accept_loop.h"
#include "listener.h"
#include "request_log.h"
#include "route_table.h"

namespace testhost {

// A forward proxy that tunnels a CONNECT to a loopback port unless a test
// has it answer instead: a route on the path "/connect/PORT" is sent as the
// proxy's own answer (status, headers, body), as a hostile or broken proxy
// would. Every CONNECT is recorded under that path, with its headers.
class ConnectProxy final : public Listener {
 public:
  ConnectProxy(RouteTable& routes, RequestLog& requests) : routes_(routes), requests_(requests) {}
  ~ConnectProxy() override;
  ConnectProxy(const ConnectProxy&) = delete;
  ConnectProxy& operator=(const ConnectProxy&) = delete;

  bool Open(int port, std::string& error) override;
  void Close() override;
  bool IsOpen() const override { return loop_.running(); }
  int port() const override { return loop_.port(); }
  // Ends every tunnel and answer in progress.
  void Reset() override;
  std::optional<std::size_t> ConnectionCount() const override;

 private:
  void Accept(UniqueFd connection);
  void Serve(int client);

  RouteTable& routes_;
  RequestLog& requests_;
  AcceptLoop loop_;

  mutable std::mutex mutex_;
  // Under mutex_: the sockets of connections in progress (shut down to end
  // them), the threads serving them, and those that are done. A client that
  // loops must not pile up ended threads until the host cannot start more.
  std::vector<int> open_sockets_;
  std::vector<std::thread> servers_;
  std::vector<std::thread::id> done_;
  std::size_t accepted_ = 0;
};

}  // namespace testhost
