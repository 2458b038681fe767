#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace testhost {

// How a route that serves byte ranges answers one request.
struct RangeAnswer {
  int status = 200;
  std::size_t start = 0;       // the first byte of the body sent
  std::string content_range;   // the Content-Range header's value; empty: none
};

// Answers `range` (the request's Range header, empty when it has none) as a
// host that offers "bytes" ranges of a body of `size` bytes would: a
// "bytes=N-" range that starts inside the body is sent from there (206); one
// that starts beyond it is refused (416). An If-Range that names none of
// the body's `validators` (its ETag, its Last-Modified) gets the whole body,
// as does a range of any other form.
RangeAnswer AnswerRange(const std::string& range, const std::string& if_range,
                        const std::vector<std::string>& validators, std::size_t size);

}  // namespace testhost
