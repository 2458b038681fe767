#include "byte_range.h"

#include <algorithm>

#include "decimal.h"

namespace testhost {

RangeAnswer AnswerRange(const std::string& range, const std::string& if_range,
                        const std::vector<std::string>& validators, std::size_t size) {
  constexpr char kPrefix[] = "bytes=";
  const std::size_t prefix_length = sizeof(kPrefix) - 1;
  const bool open_ended = range.size() > prefix_length + 1 &&
                          range.compare(0, prefix_length, kPrefix) == 0 && range.back() == '-';
  const auto start =
      open_ended ? ParseDecimal(range.substr(prefix_length, range.size() - prefix_length - 1))
                 : std::nullopt;
  const bool validated = if_range.empty() || std::find(validators.begin(), validators.end(),
                                                       if_range) != validators.end();
  if (!start || !validated) return {};
  if (*start >= size) return {416, size, "bytes */" + std::to_string(size)};
  const auto first = static_cast<std::size_t>(*start);
  return {206, first,
          "bytes " + std::to_string(first) + "-" + std::to_string(size - 1) + "/" +
              std::to_string(size)};
}

}  // namespace testhost
