#pragma once

#include <cstddef>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace testhost {

using HeaderList = std::vector<std::pair<std::string, std::string>>;

// Header names compare without regard to case, as in HTTP.
std::optional<std::string> FindHeader(const HeaderList& headers, const std::string& name);

struct RecordedRequest {
  std::string method;
  std::string path;
  HeaderList headers;
  std::string body;

  std::optional<std::string> Header(const std::string& name) const {
    return FindHeader(headers, name);
  }
};

// What the HTTPS listeners received, per path: how many requests, the heads
// of all of them, and the last one in full.
class RequestLog {
 public:
  void Record(RecordedRequest request);
  std::size_t Count(const std::string& path) const;
  std::optional<RecordedRequest> Last(const std::string& path) const;
  // The header's value in each request for `path`, in the order they came;
  // nothing for a request without it.
  std::vector<std::optional<std::string>> HeaderOfEach(const std::string& path,
                                                       const std::string& name) const;
  void Clear();

 private:
  struct PathHistory {
    std::size_t count = 0;
    std::vector<HeaderList> heads;
    RecordedRequest last;
  };

  mutable std::mutex mutex_;
  std::map<std::string, PathHistory> by_path_;
};

}  // namespace testhost
