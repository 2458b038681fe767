#include "silent_listener.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstdint>

#include "loopback_socket.h"

namespace testhost {

SilentListener::~SilentListener() { Close(); }

bool SilentListener::Open(int port, std::string& error) {
  if (IsOpen()) return true;
  int bound = 0;
  listening_ = ListenOnLoopback(port, bound);
  wake_ = UniqueFd(eventfd(0, EFD_CLOEXEC));
  if (!listening_.valid() || !wake_.valid()) {
    error = CannotListen(port, "silent");
    listening_.Reset();
    wake_.Reset();
    return false;
  }
  port_ = bound;
  thread_ = std::thread([this] { AcceptUntilWoken(); });
  return true;
}

void SilentListener::Close() {
  if (!IsOpen()) return;
  const std::uint64_t one = 1;
  // An eventfd write of 8 bytes cannot fall short; the loop wakes on it.
  [[maybe_unused]] const ssize_t written = write(wake_.get(), &one, sizeof one);
  thread_.join();
  listening_.Reset();
  wake_.Reset();
  Reset();
}

void SilentListener::Reset() {
  std::lock_guard<std::mutex> lock(mutex_);
  held_.clear();
  accepted_ = 0;
}

std::optional<std::size_t> SilentListener::ConnectionCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return accepted_;
}

void SilentListener::AcceptUntilWoken() {
  pollfd watched[] = {{listening_.get(), POLLIN, 0}, {wake_.get(), POLLIN, 0}};
  for (;;) {
    if (poll(watched, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (watched[1].revents != 0) return;
    UniqueFd connection(accept4(listening_.get(), nullptr, nullptr, SOCK_CLOEXEC));
    if (!connection.valid()) continue;
    std::lock_guard<std::mutex> lock(mutex_);
    held_.push_back(std::move(connection));
    ++accepted_;
  }
}

}  // namespace testhost
