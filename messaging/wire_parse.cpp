#include "wire_parse.h"

#include <google/protobuf/io/coded_stream.h>
#include <google/protobuf/message_lite.h>

namespace messaging {

bool ParseWireMessage(const std::string& bytes, google::protobuf::MessageLite& message)
{
    if (bytes.size() > static_cast<size_t>(kMaxWireBytes))
        return false;

    google::protobuf::io::CodedInputStream input(
        reinterpret_cast<const google::protobuf::uint8*>(bytes.data()), static_cast<int>(bytes.size()));
    input.SetTotalBytesLimit(kMaxWireBytes);
    input.SetRecursionLimit(kMaxNestingDepth);

    message.Clear();
    // MergePartialFromCodedStream stops early on an end-group tag; only a
    // stream consumed to its very end counts as one whole message.
    return message.MergePartialFromCodedStream(&input) && input.ConsumedEntireMessage() &&
           message.IsInitialized();
}

}  // namespace messaging
