#include "wire_parse.h"

#include <google/protobuf/io/coded_stream.h>
#include <google/protobuf/message_lite.h>

#include <new>

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
    // A message within the byte limit can still ask for more memory than the
    // process has (millions of empty nested messages). That is a failed
    // parse like any other, never an exception out of here.
    try {
        // MergePartialFromCodedStream stops early on an end-group tag; only a
        // stream consumed to its very end counts as one whole message.
        if (message.MergePartialFromCodedStream(&input) && input.ConsumedEntireMessage() && message.IsInitialized())
            return true;
    } catch (const std::bad_alloc&) {
    }
    message.Clear();
    return false;
}

}  // namespace messaging
