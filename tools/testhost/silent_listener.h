#pragma once

#include <cstddef>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "accept_loop.h"
#include "listener.h"
#include "unique_fd.h"

namespace testhost {

// Accepts TCP connections and never sends a byte on them, as a server whose
// TLS handshake never answers. It holds every connection until it is reset
// or closed, and counts them.
class SilentListener final : public Listener {
 public:
  SilentListener() = default;
  ~SilentListener() override;
  SilentListener(const SilentListener&) = delete;
  SilentListener& operator=(const SilentListener&) = delete;

  bool Open(int port, std::string& error) override;
  void Close() override;
  bool IsOpen() const override { return loop_.running(); }
  int port() const override { return loop_.port(); }
  void Reset() override;
  std::optional<std::size_t> ConnectionCount() const override;

 private:
  AcceptLoop loop_;

  mutable std::mutex mutex_;
  std::vector<UniqueFd> held_;
  std::size_t accepted_ = 0;
};

}  // namespace testhost
