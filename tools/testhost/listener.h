#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace testhost {

// One listening port of the host, which tests may close and open again.
class Listener {
 public:
  virtual ~Listener() = default;

  // Listens on the loopback address; port 0 asks for any free port.
  virtual bool Open(int port, std::string& error) = 0;
  // Stops listening, so connections are refused, and ends the connections
  // it has.
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;
  // The port it last listened on; 0 before it first did.
  virtual int port() const = 0;
  // Ends what its connections are kept waiting for and forgets its count,
  // still listening.
  virtual void Reset() = 0;
  // Connections counted since the last reset; nothing when it counts none.
  virtual std::optional<std::size_t> ConnectionCount() const = 0;
};

}  // namespace testhost
