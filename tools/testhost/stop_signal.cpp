#include "stop_signal.h"

namespace testhost {

StopSignal::Epoch StopSignal::Now() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return epoch_;
}

void StopSignal::Interrupt() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    ++epoch_;
  }
  changed_.notify_all();
}

void StopSignal::Raise() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    raised_ = true;
  }
  changed_.notify_all();
}

void StopSignal::Lower() {
  std::lock_guard<std::mutex> lock(mutex_);
  raised_ = false;
}

bool StopSignal::SleepFor(Epoch since, std::chrono::milliseconds duration) const {
  std::unique_lock<std::mutex> lock(mutex_);
  return !changed_.wait_for(lock, duration, [this, since] { return raised_ || epoch_ != since; });
}

}  // namespace testhost
