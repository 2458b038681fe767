#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace gui_test {

using QueryParameters = std::vector<std::pair<std::string, std::string>>;

// "path?name=value&..." with names and values percent-encoded.
std::string WithQuery(std::string_view path, const QueryParameters& parameters);

}  // namespace gui_test
