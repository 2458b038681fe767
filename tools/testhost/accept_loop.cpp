#include "accept_loop.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstdint>
#include <utility>

#include "loopback_socket.h"

namespace testhost {

bool AcceptLoop::Start(int port, const std::string& name, Accepted accepted, std::string& error) {
  if (running()) return true;
  int bound = 0;
  listening_ = ListenOnLoopback(port, bound);
  wake_ = UniqueFd(eventfd(0, EFD_CLOEXEC));
  if (!listening_.valid() || !wake_.valid()) {
    error = CannotListen(port, name);
    listening_.Reset();
    wake_.Reset();
    return false;
  }
  port_ = bound;
  accepted_ = std::move(accepted);
  thread_ = std::thread([this] { AcceptUntilWoken(); });
  return true;
}

void AcceptLoop::Stop() {
  if (!running()) return;
  const std::uint64_t one = 1;
  // An eventfd write of 8 bytes cannot fall short; the loop wakes on it.
  [[maybe_unused]] const ssize_t written = write(wake_.get(), &one, sizeof one);
  thread_.join();
  listening_.Reset();
  wake_.Reset();
}

void AcceptLoop::AcceptUntilWoken() {
  pollfd watched[] = {{listening_.get(), POLLIN, 0}, {wake_.get(), POLLIN, 0}};
  for (;;) {
    if (poll(watched, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (watched[1].revents != 0) return;
    UniqueFd connection(accept4(listening_.get(), nullptr, nullptr, SOCK_CLOEXEC));
    if (connection.valid()) accepted_(std::move(connection));
  }
}

}  // namespace testhost
