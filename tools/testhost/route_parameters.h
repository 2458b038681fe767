#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>

#include "route_table.h"

namespace testhost {

using QueryParameters = std::multimap<std::string, std::string>;

struct RouteSetting {
  Route route;
  // 0: the path's standing route. N: answers the next N requests ahead of it.
  std::size_t times = 0;
};

// Reads a route setting from the control API's query parameters (path,
// status, length, chunk, chunk_delay_ms, pause_before_ms, cut_after, ranges
// (0 or 1), times, and any number of header="Name: value") and the body to
// serve. Absent parameters keep their defaults; on a malformed or unknown
// one, returns nothing and says why in `error`.
std::optional<RouteSetting> ParseRouteSetting(const QueryParameters& parameters, std::string body,
                                              std::string& error);

}  // namespace testhost
