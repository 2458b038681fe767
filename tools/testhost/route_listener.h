#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>

#include <httplib.h>

#include "handshake_counter.h"
#include "listener.h"
#include "request_log.h"
#include "route_table.h"
#include "server_thread.h"
#include "stop_signal.h"

namespace testhost {

// A listener that records every request and answers it from the shared route
// table, over plain HTTP or over HTTPS. An HTTPS one counts the TLS
// handshakes begun on it.
class RouteListener final : public Listener {
 public:
  // Plain HTTP.
  RouteListener(const std::string& name, RouteTable& routes, RequestLog& requests);
  // HTTPS, presenting the certificate chain and key in these PEM files.
  RouteListener(const std::string& name, const std::string& certificate_file,
                const std::string& key_file, RouteTable& routes, RequestLog& requests);
  ~RouteListener() override;

  bool Open(int port, std::string& error) override;
  void Close() override;
  bool IsOpen() const override { return thread_.IsOpen(); }
  int port() const override { return thread_.port(); }
  void Reset() override;
  std::optional<std::size_t> ConnectionCount() const override;

 private:
  RouteListener(const std::string& name, std::unique_ptr<httplib::Server> server,
                RouteTable& routes, RequestLog& requests);

  std::string name_;
  std::unique_ptr<httplib::Server> server_;
  StopSignal stopping_;
  // Set for HTTPS only.
  std::unique_ptr<HandshakeCounter> handshakes_;
  bool usable_ = true;
  ServerThread thread_;
};

}  // namespace testhost
