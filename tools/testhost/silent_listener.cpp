#include "silent_listener.h"

#include <utility>

namespace testhost {

SilentListener::~SilentListener() { Close(); }

bool SilentListener::Open(int port, std::string& error) {
  return loop_.Start(port, "silent", [this](UniqueFd connection) {
    std::lock_guard<std::mutex> lock(mutex_);
    held_.push_back(std::move(connection));
    ++accepted_;
  }, error);
}

void SilentListener::Close() {
  loop_.Stop();
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

}  // namespace testhost
