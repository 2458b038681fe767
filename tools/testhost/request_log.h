#pragma once

#include <cstddef>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace testhost {

struct RecordedRequest {
  std::string method;
  std::string path;
  std::vector<std::pair<std::string, std::string>> headers;
  std::string body;

  // Header names compare without regard to case, as in HTTP.
  std::optional<std::string> Header(const std::string& name) const;
};

// What the HTTPS listeners received, per path: how many requests, and the
// last one in full.
class RequestLog {
 public:
  void Record(RecordedRequest request);
  std::size_t Count(const std::string& path) const;
  std::optional<RecordedRequest> Last(const std::string& path) const;
  void Clear();

 private:
  struct PathHistory {
    std::size_t count = 0;
    RecordedRequest last;
  };

  mutable std::mutex mutex_;
  std::map<std::string, PathHistory> by_path_;
};

}  // namespace testhost
