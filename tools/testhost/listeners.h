#pragma once

#include <cstddef>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "listener.h"
#include "request_log.h"
#include "route_table.h"

namespace testhost {

// Port 0 asks for any free port; the host reports the ones it got.
struct HostPorts {
  int control = 47440;
  int download = 47443;
  int service = 47444;
  int untrusted = 47445;
  int plain = 47446;
  int silent = 47447;
  int proxy = 47448;
};

// The host's listeners, by name:
//   download, service  HTTPS with the certificate of the trusted test CA
//   untrusted          HTTPS with that of an unrelated CA
//   plain              plain HTTP
//   silent             accepts connections and never answers
//   proxy              a CONNECT proxy that tunnels to loopback ports, or
//                      answers for them itself (connect_proxy.h)
// The first four serve the shared route table.
class Listeners {
 public:
  Listeners(const std::string& pki_dir, RouteTable& routes, RequestLog& requests);

  // Opens every listener on its port from `requested` and writes the ports
  // they got into `bound`.
  bool OpenAll(const HostPorts& requested, HostPorts& bound, std::string& error);
  void CloseAll();
  // Opens those a test closed, on their old ports; ends what connections are
  // kept waiting for; clears the connection counts.
  bool Reset(std::string& error);

  bool Knows(const std::string& name) const;
  // False, saying why, when the listener cannot listen on its port again.
  bool SetOpen(const std::string& name, bool open, std::string& error);
  // Nothing for a listener that does not count connections.
  std::optional<std::size_t> ConnectionCount(const std::string& name) const;

 private:
  struct Named {
    std::string name;
    int HostPorts::*port;
    std::unique_ptr<Listener> listener;
  };

  Listener* Find(const std::string& name) const;

  // Keeps one test's open, close and reset whole against another's.
  std::mutex mutex_;
  std::vector<Named> listeners_;
};

}  // namespace testhost
