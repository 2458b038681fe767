#include "route_listener.h"

#include <utility>

#include "served_routes.h"

namespace testhost {

RouteListener::RouteListener(const std::string& name, RouteTable& routes, RequestLog& requests)
    : RouteListener(name, std::make_unique<httplib::Server>(), routes, requests) {}

RouteListener::RouteListener(const std::string& name, const std::string& certificate_file,
                             const std::string& key_file, RouteTable& routes,
                             RequestLog& requests)
    : RouteListener(name,
                    std::make_unique<httplib::SSLServer>(certificate_file.c_str(),
                                                         key_file.c_str()),
                    routes, requests) {
  handshakes_ = std::make_unique<HandshakeCounter>();
  usable_ = server_->is_valid() &&
            handshakes_->CountOn(static_cast<httplib::SSLServer&>(*server_).ssl_context());
}

RouteListener::RouteListener(const std::string& name, std::unique_ptr<httplib::Server> server,
                             RouteTable& routes, RequestLog& requests)
    : name_(name), server_(std::move(server)), thread_(*server_, name) {
  ServeRoutes(*server_, routes, requests, stopping_);
  // One request per connection: a response whose declared length exceeds its
  // body can then end with an orderly close instead of a stall.
  server_->set_keep_alive_max_count(1);
}

// The server's threads use the counter and the signal: they end first.
RouteListener::~RouteListener() { Close(); }

bool RouteListener::Open(int port, std::string& error) {
  if (!usable_) {
    error = "cannot set up TLS for the " + name_ + " listener from its certificate and key";
    return false;
  }
  stopping_.Lower();
  return thread_.Open(port, error);
}

void RouteListener::Close() {
  // Raised first, so no response, however late it begins, holds the close up.
  stopping_.Raise();
  thread_.Close();
}

void RouteListener::Reset() {
  stopping_.Interrupt();
  if (handshakes_) handshakes_->Clear();
}

std::optional<std::size_t> RouteListener::ConnectionCount() const {
  if (!handshakes_) return std::nullopt;
  return handshakes_->Count();
}

}  // namespace testhost
