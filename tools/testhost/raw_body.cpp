#include "raw_body.h"

namespace testhost {

bool ReadRawBody(const httplib::ContentReader& read_body, std::string& body) {
  return read_body([&body](const char* data, std::size_t size) {
    body.append(data, size);
    return true;
  });
}

}  // namespace testhost
