#include "loopback_socket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cstdint>

namespace testhost {

void ReuseAddressOnly(int socket) {
  const int yes = 1;
  setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
}

UniqueFd ListenOnLoopback(int port, int& bound) {
  UniqueFd socket_fd(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (!socket_fd.valid()) return {};
  ReuseAddressOnly(socket_fd.get());
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  socklen_t size = sizeof address;
  if (inet_pton(AF_INET, kLoopback, &address.sin_addr) != 1 ||
      bind(socket_fd.get(), reinterpret_cast<const sockaddr*>(&address), size) != 0 ||
      listen(socket_fd.get(), SOMAXCONN) != 0 ||
      getsockname(socket_fd.get(), reinterpret_cast<sockaddr*>(&address), &size) != 0) {
    return {};
  }
  bound = ntohs(address.sin_port);
  return socket_fd;
}

std::string CannotListen(int port, const std::string& name) {
  return std::string("cannot listen on ") + kLoopback + ":" + std::to_string(port) + " (" + name +
         ")";
}

}  // namespace testhost
