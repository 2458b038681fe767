#pragma once

#include <functional>
#include <string>
#include <thread>

#include "unique_fd.h"

namespace testhost {

// Accepts connections on a loopback port, on a thread of its own, and hands
// each to the listener that started it, until stopped.
class AcceptLoop {
 public:
  using Accepted = std::function<void(UniqueFd)>;

  AcceptLoop() = default;
  ~AcceptLoop() { Stop(); }
  AcceptLoop(const AcceptLoop&) = delete;
  AcceptLoop& operator=(const AcceptLoop&) = delete;

  // Listens on `port` (0: any free port); false, saying why, when it cannot.
  bool Start(int port, const std::string& name, Accepted accepted, std::string& error);
  // Stops listening and waits for the thread; `accepted` is not called after.
  void Stop();
  bool running() const { return thread_.joinable(); }
  // The port it last listened on; 0 before it first did.
  int port() const { return port_; }

 private:
  void AcceptUntilWoken();

  UniqueFd listening_;
  UniqueFd wake_;
  std::thread thread_;
  int port_ = 0;
  Accepted accepted_;
};

}  // namespace testhost
