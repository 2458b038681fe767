#include "tls_exchange.h"

#include <sys/socket.h>
#include <sys/time.h>

#include <algorithm>
#include <array>

#include "loopback_client.h"

namespace testhost {
namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

// Longer than any response a test asks for; a stuck host then fails the test
// instead of hanging it.
constexpr milliseconds kWholeResponseWait{30000};

void SetReceiveTimeout(int socket, milliseconds timeout) {
  const auto ms = std::max<milliseconds::rep>(timeout.count(), 1);
  timeval value{};
  value.tv_sec = static_cast<time_t>(ms / 1000);
  value.tv_usec = static_cast<suseconds_t>(ms % 1000 * 1000);
  setsockopt(socket, SOL_SOCKET, SO_RCVTIMEO, &value, sizeof value);
}

}  // namespace

TlsConnection::TlsConnection(int port, const std::string& ca_file)
    : socket_(ConnectToLoopback(port)), context_(SSL_CTX_new(TLS_client_method()), &SSL_CTX_free) {
  if (!socket_.valid() || !context_ ||
      SSL_CTX_load_verify_locations(context_.get(), ca_file.c_str(), nullptr) != 1) {
    return;
  }
  SSL_CTX_set_verify(context_.get(), SSL_VERIFY_PEER, nullptr);
  session_.reset(SSL_new(context_.get()));
  if (!session_) return;
  SSL_set_fd(session_.get(), socket_.get());
  SSL_set_tlsext_host_name(session_.get(), "localhost");
  SSL_set1_host(session_.get(), "localhost");
  verified_ = SSL_connect(session_.get()) == 1;
}

bool TlsConnection::Send(const std::string& bytes) {
  return verified_ &&
         SSL_write(session_.get(), bytes.data(), static_cast<int>(bytes.size())) > 0;
}

TlsConnection::State TlsConnection::Read(std::string& received, milliseconds wait,
                                         std::size_t enough) {
  if (!verified_) return State::kBrokenOff;
  const auto deadline = steady_clock::now() + wait;
  std::array<char, 16384> buffer;
  while (received.size() < enough) {
    const auto left = std::chrono::duration_cast<milliseconds>(deadline - steady_clock::now());
    if (left <= milliseconds(0)) return State::kOpen;
    SetReceiveTimeout(socket_.get(), left);
    const int count = SSL_read(session_.get(), buffer.data(), static_cast<int>(buffer.size()));
    if (count > 0) {
      received.append(buffer.data(), static_cast<std::size_t>(count));
      continue;
    }
    switch (SSL_get_error(session_.get(), count)) {
      case SSL_ERROR_WANT_READ:
        // The receive timeout ran out.
        return State::kOpen;
      case SSL_ERROR_ZERO_RETURN:
        return State::kOrderlyClose;
      default:
        return State::kBrokenOff;
    }
  }
  return State::kOpen;
}

TlsExchange ExchangeOverTls(int port, const std::string& ca_file, const std::string& request) {
  TlsExchange exchange;
  TlsConnection connection(port, ca_file);
  exchange.verified = connection.verified();
  if (!connection.Send(request)) return exchange;
  exchange.orderly_close = connection.Read(exchange.response, kWholeResponseWait) ==
                           TlsConnection::State::kOrderlyClose;
  return exchange;
}

}  // namespace testhost
