#pragma once

#include <chrono>
#include <cstddef>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace testhost {

// How a route's body travels, so tests can reproduce slow, chunked and
// truncated downloads.
struct Delivery {
  enum class Length { kAuto, kNone, kDeclared };

  // kAuto declares the body size, kNone sends chunked transfer encoding,
  // kDeclared announces declared_length: more than the body makes the
  // connection close early, less sends only that many bytes.
  Length length = Length::kAuto;
  std::size_t declared_length = 0;
  // Unset: the whole body in one write.
  std::optional<std::size_t> chunk_size;
  std::chrono::milliseconds chunk_delay{0};
  std::chrono::milliseconds pause_before{0};
  // Set: the connection drops after this many bytes of the body, as a
  // network that fails does.
  std::optional<std::size_t> cut_after;
};

struct Route {
  int status = 200;
  std::string body;
  Delivery delivery;
  // Answers "Range: bytes=N-" (with If-Range against the ETag and
  // Last-Modified among `headers`) with that part of the body; otherwise a
  // Range is ignored and the whole body sent.
  bool serves_ranges = false;
  // Sent as given after the host's own; a Content-Type here replaces the
  // host's default type.
  std::vector<std::pair<std::string, std::string>> headers;
};

// Routes shared by every HTTPS listener. Each path has a standing route and,
// ahead of it, routes that answer a set number of requests each, in the order
// they were added: "fail twice, then succeed". Routes are handed out as
// shared pointers so a response in progress keeps its body when a test
// replaces or clears the route meanwhile.
class RouteTable {
 public:
  // Replaces the standing route of `path`.
  void Set(const std::string& path, Route route);
  // Queues `route` for the next `times` requests to `path` not yet promised
  // to an earlier queued route.
  void Queue(const std::string& path, Route route, std::size_t times);
  // The route that answers this request to `path`, using up one answer of a
  // queued route; null when there is none.
  std::shared_ptr<const Route> Take(const std::string& path);
  void Clear();

 private:
  struct QueuedRoute {
    std::shared_ptr<const Route> route;
    std::size_t answers_left;
  };
  struct PathRoutes {
    std::deque<QueuedRoute> queued;
    std::shared_ptr<const Route> standing;
  };

  std::mutex mutex_;
  std::map<std::string, PathRoutes> paths_;
};

}  // namespace testhost
