#pragma once

#include <openssl/ssl.h>

#include <atomic>
#include <cstddef>

namespace testhost {

// Counts the TLS handshakes that the connections of one SSL_CTX begin,
// finished or not, so a test can tell that a client reached a listener even
// when it then refused the listener's certificate.
class HandshakeCounter {
 public:
  HandshakeCounter() = default;
  HandshakeCounter(const HandshakeCounter&) = delete;
  HandshakeCounter& operator=(const HandshakeCounter&) = delete;

  // Starts counting on `context`, which must not outlive this counter. False
  // when the context cannot carry it.
  bool CountOn(SSL_CTX* context);
  std::size_t Count() const { return begun_; }
  void Clear() { begun_ = 0; }

 private:
  static void OnInfo(const SSL* ssl, int where, int ret);

  std::atomic<std::size_t> begun_{0};
};

}  // namespace testhost
