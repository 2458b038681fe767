#include "route_table.h"

#include <utility>

namespace testhost {

void RouteTable::Set(const std::string& path, Route route) {
  auto shared = std::make_shared<const Route>(std::move(route));
  std::lock_guard<std::mutex> lock(mutex_);
  paths_[path].standing = std::move(shared);
}

void RouteTable::Queue(const std::string& path, Route route, std::size_t times) {
  if (times == 0) return;
  auto shared = std::make_shared<const Route>(std::move(route));
  std::lock_guard<std::mutex> lock(mutex_);
  paths_[path].queued.push_back({std::move(shared), times});
}

std::shared_ptr<const Route> RouteTable::Take(const std::string& path) {
  std::lock_guard<std::mutex> lock(mutex_);
  const auto found = paths_.find(path);
  if (found == paths_.end()) return nullptr;
  auto& queued = found->second.queued;
  if (queued.empty()) return found->second.standing;
  auto route = queued.front().route;
  if (--queued.front().answers_left == 0) queued.pop_front();
  return route;
}

void RouteTable::Clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  paths_.clear();
}

}  // namespace testhost
