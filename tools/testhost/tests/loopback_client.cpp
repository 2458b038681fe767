#include "loopback_client.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <cstdint>

namespace testhost {

UniqueFd ConnectToLoopback(int port) {
  UniqueFd socket_fd(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (!socket_fd.valid()) return {};
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (connect(socket_fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    return {};
  }
  return socket_fd;
}

SocketState ObserveFor(int socket, std::chrono::milliseconds wait) {
  pollfd watched{socket, POLLIN, 0};
  if (poll(&watched, 1, static_cast<int>(wait.count())) == 0) return SocketState::kQuiet;
  char byte = 0;
  return recv(socket, &byte, 1, MSG_PEEK | MSG_DONTWAIT) > 0 ? SocketState::kData
                                                             : SocketState::kEnded;
}

}  // namespace testhost
