#include "connect_proxy.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>

#include "decimal.h"
#include "loopback_socket.h"

namespace testhost {
namespace {

constexpr std::size_t kMaxHeadBytes = 16 * 1024;

bool SendAll(int socket, const std::string& bytes) {
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t n = send(socket, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) return false;
    sent += static_cast<std::size_t>(n);
  }
  return true;
}

// The request's head, up to its empty line; nothing when the client left first.
std::optional<std::string> ReadHead(int socket) {
  std::string head;
  char byte = 0;
  while (head.size() < kMaxHeadBytes && recv(socket, &byte, 1, 0) == 1) {
    head += byte;
    if (head.size() >= 4 && head.compare(head.size() - 4, 4, "\r\n\r\n") == 0) return head;
  }
  return std::nullopt;
}

// "CONNECT host:port HTTP/1.1" and its headers.
RecordedRequest ParseHead(const std::string& head) {
  RecordedRequest request;
  const std::size_t line_end = head.find("\r\n");
  const std::string first = head.substr(0, line_end);
  const std::size_t space = first.find(' ');
  request.method = first.substr(0, space);
  const std::string target = first.substr(space + 1, first.find(' ', space + 1) - space - 1);
  request.path = "/connect/" + target.substr(target.rfind(':') + 1);
  for (std::size_t at = line_end + 2, end; (end = head.find("\r\n", at)) != std::string::npos && end > at;
       at = end + 2) {
    const std::string line = head.substr(at, end - at);
    const std::size_t colon = line.find(':');
    if (colon == std::string::npos) continue;
    const std::size_t value = line.find_first_not_of(' ', colon + 1);
    request.headers.emplace_back(line.substr(0, colon),
                                 value == std::string::npos ? "" : line.substr(value));
  }
  return request;
}

std::string Answer(const Route& route) {
  std::string answer = "HTTP/1.1 " + std::to_string(route.status) + " Proxy Answer\r\n";
  for (const auto& [name, value] : route.headers) answer += name + ": " + value + "\r\n";
  return answer + "Content-Length: " + std::to_string(route.body.size()) +
         "\r\nConnection: close\r\n\r\n" + route.body;
}

UniqueFd ConnectToLoopback(int port) {
  UniqueFd upstream(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  if (!upstream.valid() || inet_pton(AF_INET, kLoopback, &address.sin_addr) != 1 ||
      connect(upstream.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
    return {};
  return upstream;
}

// Copies bytes both ways until either side ends.
void Relay(int client, int upstream) {
  pollfd watched[] = {{client, POLLIN, 0}, {upstream, POLLIN, 0}};
  char buffer[16 * 1024];
  for (;;) {
    if (poll(watched, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    for (int side = 0; side < 2; ++side) {
      if (watched[side].revents == 0) continue;
      const ssize_t n = recv(watched[side].fd, buffer, sizeof buffer, 0);
      if (n <= 0 || !SendAll(watched[1 - side].fd, std::string(buffer, static_cast<std::size_t>(n))))
        return;
    }
  }
}

}  // namespace

ConnectProxy::~ConnectProxy() { Close(); }

bool ConnectProxy::Open(int port, std::string& error) {
  return loop_.Start(port, "proxy", [this](UniqueFd connection) { Accept(std::move(connection)); }, error);
}

void ConnectProxy::Close() {
  loop_.Stop();
  Reset();
}

void ConnectProxy::Reset() {
  std::vector<std::thread> servers;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    for (const int socket : open_sockets_) shutdown(socket, SHUT_RDWR);
    servers.swap(servers_);
    done_.clear();
    accepted_ = 0;
  }
  for (std::thread& server : servers) server.join();
}

std::optional<std::size_t> ConnectProxy::ConnectionCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return accepted_;
}

void ConnectProxy::Accept(UniqueFd connection) {
  std::lock_guard<std::mutex> lock(mutex_);
  for (const std::thread::id id : done_) {
    const auto ended = std::find_if(servers_.begin(), servers_.end(),
                                    [id](const std::thread& server) { return server.get_id() == id; });
    if (ended == servers_.end()) continue;
    ended->join();
    servers_.erase(ended);
  }
  done_.clear();
  const int client = connection.Release();
  open_sockets_.push_back(client);
  ++accepted_;
  servers_.emplace_back([this, client] { Serve(client); });
}

void ConnectProxy::Serve(int client) {
  if (const auto head = ReadHead(client)) {
    RecordedRequest request = ParseHead(*head);
    const std::string path = request.path;
    const bool tunnel = request.method == "CONNECT";
    requests_.Record(std::move(request));
    const auto port = ParseDecimal(path.substr(path.rfind('/') + 1));
    if (const auto answer = tunnel ? routes_.Take(path) : nullptr) {
      SendAll(client, Answer(*answer));
    } else if (!tunnel || !port || *port > 65535) {
      SendAll(client, "HTTP/1.1 400 Bad Request\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
    } else if (const UniqueFd upstream = ConnectToLoopback(static_cast<int>(*port)); !upstream.valid()) {
      SendAll(client, "HTTP/1.1 502 Bad Gateway\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
    } else if (SendAll(client, "HTTP/1.1 200 Connection established\r\n\r\n")) {
      Relay(client, upstream.get());
    }
  }
  std::lock_guard<std::mutex> lock(mutex_);
  open_sockets_.erase(std::find(open_sockets_.begin(), open_sockets_.end(), client));
  close(client);
  done_.push_back(std::this_thread::get_id());
}

}  // namespace testhost
