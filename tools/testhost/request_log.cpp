#include "request_log.h"

#include "header_name.h"

namespace testhost {

std::optional<std::string> RecordedRequest::Header(const std::string& name) const {
  for (const auto& [key, value] : headers) {
    if (SameHeaderName(key, name)) return value;
  }
  return std::nullopt;
}

void RequestLog::Record(RecordedRequest request) {
  std::lock_guard<std::mutex> lock(mutex_);
  PathHistory& history = by_path_[request.path];
  ++history.count;
  history.last = std::move(request);
}

std::size_t RequestLog::Count(const std::string& path) const {
  std::lock_guard<std::mutex> lock(mutex_);
  const auto found = by_path_.find(path);
  return found == by_path_.end() ? 0 : found->second.count;
}

std::optional<RecordedRequest> RequestLog::Last(const std::string& path) const {
  std::lock_guard<std::mutex> lock(mutex_);
  const auto found = by_path_.find(path);
  if (found == by_path_.end()) return std::nullopt;
  return found->second.last;
}

void RequestLog::Clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  by_path_.clear();
}

}  // namespace testhost
