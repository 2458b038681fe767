#pragma once

#include <chrono>

#include "unique_fd.h"

namespace testhost {

// A TCP connection to 127.0.0.1:port; empty, with errno set, when refused.
UniqueFd ConnectToLoopback(int port);

enum class SocketState { kQuiet, kData, kEnded };

// What a connected socket shows within `wait`: nothing, bytes to read (left
// unread), or its end (closed or reset by the peer).
SocketState ObserveFor(int socket, std::chrono::milliseconds wait);

}  // namespace testhost
