#pragma once

#include <string>

#include "unique_fd.h"

namespace testhost {

// Every listener of the host binds this address only.
inline constexpr char kLoopback[] = "127.0.0.1";

// The server library's default, SO_REUSEPORT, would let a second host listen
// beside a running one and split the connections between them. SO_REUSEADDR
// alone still lets a restarted host take ports whose old connections linger.
void ReuseAddressOnly(int socket);

// A listening TCP socket on kLoopback:port (0: any free port), with the port
// it got in `bound`. On failure, an empty descriptor.
UniqueFd ListenOnLoopback(int port, int& bound);

// "cannot listen on 127.0.0.1:PORT (NAME)": one wording for every listener.
std::string CannotListen(int port, const std::string& name);

}  // namespace testhost
