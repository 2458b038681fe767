#pragma once

#include <openssl/ssl.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "unique_fd.h"

namespace testhost {

// A TLS connection to 127.0.0.1:port that verifies the server as "localhost"
// against ca_file, read in raw bytes so tests see framing, pacing and how the
// server ended the connection.
class TlsConnection {
 public:
  enum class State { kOpen, kOrderlyClose, kBrokenOff };

  TlsConnection(int port, const std::string& ca_file);

  // The handshake completed and the server's certificate was accepted.
  bool verified() const { return verified_; }
  bool Send(const std::string& bytes);
  // Appends to `received` until the connection ends, `wait` passes or
  // `received` holds at least `enough` bytes.
  State Read(std::string& received, std::chrono::milliseconds wait,
             std::size_t enough = SIZE_MAX);

 private:
  using ContextPtr = std::unique_ptr<SSL_CTX, decltype(&SSL_CTX_free)>;
  using SessionPtr = std::unique_ptr<SSL, decltype(&SSL_free)>;

  UniqueFd socket_;
  ContextPtr context_{nullptr, &SSL_CTX_free};
  SessionPtr session_{nullptr, &SSL_free};
  bool verified_ = false;
};

// One request and its whole response.
struct TlsExchange {
  bool verified = false;
  std::string response;
  // The server sent a TLS close_notify before closing: an orderly end.
  bool orderly_close = false;
};

TlsExchange ExchangeOverTls(int port, const std::string& ca_file, const std::string& request);

}  // namespace testhost
