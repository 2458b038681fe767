#pragma once

#include <string>

namespace google::protobuf {
class MessageLite;
}

namespace messaging {

// Hard bounds on what one received message may cost us.
constexpr int kMaxWireBytes = 64 * 1024 * 1024;
constexpr int kMaxNestingDepth = 64;

// Parses bytes as one whole message. Fails when the input exceeds
// kMaxWireBytes, nests deeper than kMaxNestingDepth, does not end cleanly
// at its last field, leaves a required field unset, or needs more memory
// than there is; a failed parse leaves the message empty.
bool ParseWireMessage(const std::string& bytes, google::protobuf::MessageLite& message);

}  // namespace messaging
