#include "tls_exchange.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <openssl/ssl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <memory>

namespace testhost {
namespace {

struct SocketCloser {
  int fd;
  ~SocketCloser() {
    if (fd >= 0) close(fd);
  }
};

using ContextPtr = std::unique_ptr<SSL_CTX, decltype(&SSL_CTX_free)>;
using SessionPtr = std::unique_ptr<SSL, decltype(&SSL_free)>;

bool ConnectToLoopback(int fd, int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
}

}  // namespace

TlsExchange ExchangeOverTls(int port, const std::string& ca_file, const std::string& request) {
  TlsExchange exchange;
  const SocketCloser socket_fd{socket(AF_INET, SOCK_STREAM, 0)};
  if (socket_fd.fd < 0 || !ConnectToLoopback(socket_fd.fd, port)) return exchange;

  ContextPtr context(SSL_CTX_new(TLS_client_method()), &SSL_CTX_free);
  if (!context || SSL_CTX_load_verify_locations(context.get(), ca_file.c_str(), nullptr) != 1) {
    return exchange;
  }
  SSL_CTX_set_verify(context.get(), SSL_VERIFY_PEER, nullptr);
  SessionPtr session(SSL_new(context.get()), &SSL_free);
  if (!session) return exchange;
  SSL_set_fd(session.get(), socket_fd.fd);
  SSL_set_tlsext_host_name(session.get(), "localhost");
  SSL_set1_host(session.get(), "localhost");
  if (SSL_connect(session.get()) != 1) return exchange;
  exchange.verified = true;

  if (SSL_write(session.get(), request.data(), static_cast<int>(request.size())) <= 0) {
    return exchange;
  }
  std::array<char, 16384> buffer;
  for (;;) {
    const int received = SSL_read(session.get(), buffer.data(), static_cast<int>(buffer.size()));
    if (received <= 0) {
      exchange.orderly_close = SSL_get_error(session.get(), received) == SSL_ERROR_ZERO_RETURN;
      break;
    }
    exchange.response.append(buffer.data(), static_cast<std::size_t>(received));
  }
  return exchange;
}

}  // namespace testhost
