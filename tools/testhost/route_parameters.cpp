#include "route_parameters.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <iterator>
#include <utility>

#include "decimal.h"
#include "header_name.h"

namespace testhost {
namespace {

// Bounds that catch a mistyped test rather than limit a real one.
constexpr std::uint64_t kMaxDelayMs = 10 * 60 * 1000;
constexpr std::uint64_t kMaxDeclaredLength = UINT32_MAX;
constexpr std::uint64_t kMaxTimes = 1000000;

// A misspelt option must not be mistaken for its default.
bool AllKnown(const QueryParameters& parameters, std::string& error) {
  static const char* const kKnown[] = {"path",  "status",         "length",          "chunk",
                                       "times", "chunk_delay_ms", "pause_before_ms", "cut_after",
                                       "ranges", "header"};
  for (const auto& parameter : parameters) {
    if (std::find(std::begin(kKnown), std::end(kKnown), parameter.first) == std::end(kKnown)) {
      error = "unknown parameter " + parameter.first;
      return false;
    }
  }
  return true;
}

// Reads one optional numeric parameter within [min, max]; false on a bad value.
bool ReadNumber(const QueryParameters& parameters, const std::string& name, std::uint64_t min,
                std::uint64_t max, std::optional<std::uint64_t>& value, std::string& error) {
  const auto found = parameters.find(name);
  if (found == parameters.end()) return true;
  value = ParseDecimal(found->second);
  if (!value || *value < min || *value > max) {
    error = name + " must be a number from " + std::to_string(min) + " to " +
            std::to_string(max) + ", not '" + found->second + "'";
    return false;
  }
  return true;
}

bool ReadLength(const QueryParameters& parameters, Delivery& delivery, std::string& error) {
  const auto found = parameters.find("length");
  if (found == parameters.end() || found->second == "auto") return true;
  if (found->second == "none") {
    delivery.length = Delivery::Length::kNone;
    return true;
  }
  const auto declared = ParseDecimal(found->second);
  if (!declared || *declared > kMaxDeclaredLength) {
    error = "length must be auto, none or a byte count, not '" + found->second + "'";
    return false;
  }
  delivery.length = Delivery::Length::kDeclared;
  delivery.declared_length = static_cast<std::size_t>(*declared);
  return true;
}

// "Name: value". The framing headers are left to length=, which keeps them
// consistent with what is sent.
bool ReadHeader(const std::string& line, Route& route, std::string& error) {
  const auto colon = line.find(':');
  const std::string name = line.substr(0, colon);
  const auto value_start = line.find_first_not_of(' ', colon == std::string::npos ? 0 : colon + 1);
  const std::string value = value_start == std::string::npos ? "" : line.substr(value_start);
  if (colon == std::string::npos || !IsHeaderName(name) ||
      value.find_first_of(std::string("\r\n\0", 3)) != std::string::npos) {
    error = "header must be 'Name: value' on one line, not '" + line + "'";
    return false;
  }
  if (SameHeaderName(name, "Content-Length") || SameHeaderName(name, "Transfer-Encoding")) {
    error = "the length parameter sets " + name;
    return false;
  }
  route.headers.emplace_back(name, value);
  return true;
}

bool ReadHeaders(const QueryParameters& parameters, Route& route, std::string& error) {
  const auto [first, last] = parameters.equal_range("header");
  return std::all_of(first, last, [&](const auto& parameter) {
    return ReadHeader(parameter.second, route, error);
  });
}

}  // namespace

std::optional<RouteSetting> ParseRouteSetting(const QueryParameters& parameters, std::string body,
                                              std::string& error) {
  std::optional<std::uint64_t> status;
  std::optional<std::uint64_t> chunk;
  std::optional<std::uint64_t> chunk_delay;
  std::optional<std::uint64_t> pause_before;
  std::optional<std::uint64_t> times;
  std::optional<std::uint64_t> cut_after;
  std::optional<std::uint64_t> ranges;
  RouteSetting setting;
  Route& route = setting.route;
  if (!AllKnown(parameters, error) ||
      !ReadNumber(parameters, "status", 100, 599, status, error) ||
      !ReadNumber(parameters, "chunk", 1, SIZE_MAX, chunk, error) ||
      !ReadNumber(parameters, "chunk_delay_ms", 0, kMaxDelayMs, chunk_delay, error) ||
      !ReadNumber(parameters, "pause_before_ms", 0, kMaxDelayMs, pause_before, error) ||
      !ReadNumber(parameters, "times", 0, kMaxTimes, times, error) ||
      !ReadNumber(parameters, "cut_after", 0, kMaxDeclaredLength, cut_after, error) ||
      !ReadNumber(parameters, "ranges", 0, 1, ranges, error) ||
      !ReadLength(parameters, route.delivery, error) ||
      !ReadHeaders(parameters, route, error)) {
    return std::nullopt;
  }
  if (status) route.status = static_cast<int>(*status);
  if (chunk) route.delivery.chunk_size = static_cast<std::size_t>(*chunk);
  route.delivery.chunk_delay = std::chrono::milliseconds(chunk_delay.value_or(0));
  route.delivery.pause_before = std::chrono::milliseconds(pause_before.value_or(0));
  if (cut_after) route.delivery.cut_after = static_cast<std::size_t>(*cut_after);
  route.serves_ranges = ranges.value_or(0) == 1;
  route.body = std::move(body);
  setting.times = static_cast<std::size_t>(times.value_or(0));
  return setting;
}

}  // namespace testhost
