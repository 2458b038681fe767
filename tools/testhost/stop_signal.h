#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace testhost {

// Lets deliberately slow responses end at once, instead of holding server
// threads for the rest of their pauses: those in progress when a test resets
// the host, and every one while their listener shuts down.
class StopSignal {
 public:
  using Epoch = std::uint64_t;

  // Taken when a response begins: its waits end at the next Interrupt.
  Epoch Now() const;
  // Ends the waits of every response begun before now.
  void Interrupt();
  // Until Lower, every wait ends at once.
  void Raise();
  void Lower();

  // Waits for `duration`; false when the signal was raised, or interrupted
  // after `since`, before it ended.
  bool SleepFor(Epoch since, std::chrono::milliseconds duration) const;

 private:
  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  Epoch epoch_ = 0;
  bool raised_ = false;
};

}  // namespace testhost
