#pragma once

#include <chrono>
#include <functional>

namespace uidriver {

using Milliseconds = std::chrono::milliseconds;

constexpr Milliseconds kPollInterval{25};

// Evaluates condition every kPollInterval until it holds or timeout has
// passed; it is always evaluated at least once and once more at the deadline.
bool PollUntil(const std::function<bool()>& condition, Milliseconds timeout);

}  // namespace uidriver
