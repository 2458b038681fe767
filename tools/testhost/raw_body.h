#pragma once

#include <string>

#include <httplib.h>

namespace testhost {

// Reads a request body as raw bytes. Handlers that take bodies this way keep
// the server library from parsing form-encoded ones and from refusing large
// ones. False when the body did not arrive whole.
bool ReadRawBody(const httplib::ContentReader& read_body, std::string& body);

}  // namespace testhost
