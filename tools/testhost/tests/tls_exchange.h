#pragma once

#include <string>

namespace testhost {

// One request over TLS to 127.0.0.1:port, verifying the server as "localhost"
// against ca_file, with the response taken in raw bytes so tests see framing
// and how the server ended the connection.
struct TlsExchange {
  bool verified = false;
  std::string response;
  // The server sent a TLS close_notify before closing: an orderly end.
  bool orderly_close = false;
};

TlsExchange ExchangeOverTls(int port, const std::string& ca_file, const std::string& request);

}  // namespace testhost
