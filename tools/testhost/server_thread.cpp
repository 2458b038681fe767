#include "server_thread.h"

#include <chrono>
#include <utility>

#include "loopback_socket.h"

namespace testhost {

ServerThread::ServerThread(httplib::Server& server, std::string name)
    : server_(server), name_(std::move(name)) {
  server_.set_socket_options(ReuseAddressOnly);
}

ServerThread::~ServerThread() { Close(); }

bool ServerThread::Open(int port, std::string& error) {
  if (IsOpen()) return true;
  const int bound = port == 0 ? server_.bind_to_any_port(kLoopback)
                              : (server_.bind_to_port(kLoopback, port) ? port : -1);
  if (bound <= 0) {
    error = CannotListen(port, name_);
    return false;
  }
  port_ = bound;
  thread_ = std::thread([this] { server_.listen_after_bind(); });
  // stop() only reaches a server that has begun to accept.
  while (!server_.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  return true;
}

void ServerThread::Close() {
  if (!IsOpen()) return;
  server_.stop();
  thread_.join();
}

}  // namespace testhost
