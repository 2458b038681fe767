#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace testhost {

// Lets deliberately slow responses end at once when the host shuts down,
// instead of holding the server threads for the rest of their pauses.
class StopSignal {
 public:
  void Raise();

  // Waits for `duration`; false when the signal was raised before it ended.
  bool SleepFor(std::chrono::milliseconds duration) const;

 private:
  mutable std::mutex mutex_;
  mutable std::condition_variable raised_changed_;
  bool raised_ = false;
};

}  // namespace testhost
