#include "header_name.h"

#include <algorithm>
#include <cctype>

namespace testhost {

bool SameHeaderName(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](unsigned char x, unsigned char y) {
    return std::tolower(x) == std::tolower(y);
  });
}

bool IsHeaderName(std::string_view name) {
  constexpr std::string_view kTokenSymbols = "!#$%&'*+-.^_`|~";
  return !name.empty() && std::all_of(name.begin(), name.end(), [&](unsigned char c) {
    return std::isalnum(c) || kTokenSymbols.find(static_cast<char>(c)) != std::string_view::npos;
  });
}

}  // namespace testhost
