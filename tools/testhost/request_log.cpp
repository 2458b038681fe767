#include "request_log.h"

#include "header_name.h"

namespace testhost {

std::optional<std::string> FindHeader(const HeaderList& headers, const std::string& name) {
  for (const auto& [key, value] : headers) {
    if (SameHeaderName(key, name)) return value;
  }
  return std::nullopt;
}

void RequestLog::Record(RecordedRequest request) {
  std::lock_guard<std::mutex> lock(mutex_);
  PathHistory& history = by_path_[request.path];
  ++history.count;
  history.heads.push_back(request.headers);
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

std::vector<std::optional<std::string>> RequestLog::HeaderOfEach(const std::string& path,
                                                                 const std::string& name) const {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<std::optional<std::string>> values;
  const auto found = by_path_.find(path);
  if (found == by_path_.end()) return values;
  for (const auto& head : found->second.heads) values.push_back(FindHeader(head, name));
  return values;
}

void RequestLog::Clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  by_path_.clear();
}

}  // namespace testhost
