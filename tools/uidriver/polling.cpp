#include "polling.h"

#include <algorithm>
#include <thread>

namespace uidriver {

bool PollUntil(const std::function<bool()>& condition, Milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (condition())
            return true;
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline)
            return false;
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(kPollInterval, deadline - now));
    }
}

}  // namespace uidriver
