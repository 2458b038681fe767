#include "stop_signal.h"

namespace testhost {

void StopSignal::Raise() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    raised_ = true;
  }
  raised_changed_.notify_all();
}

bool StopSignal::SleepFor(std::chrono::milliseconds duration) const {
  std::unique_lock<std::mutex> lock(mutex_);
  return !raised_changed_.wait_for(lock, duration, [this] { return raised_; });
}

}  // namespace testhost
