// The inflate the banner's resource goes through, on any bytes: no read or
// write outside its buffers, nothing beyond its limit.
#include <cstddef>
#include <cstdint>

#include "fuzz_invariant.h"
#include "inflate.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Small enough for a fast run, large enough for every block kind and
    // the longest back-reference.
    constexpr size_t kLimit = 8 * 1024;
    const auto inflated = Inflate(data, size, kLimit);
    if (!inflated || inflated->empty())
        return 0;
    Require(inflated->size() <= kLimit, "nothing inflates beyond its limit");
    Require(!Inflate(data, size, inflated->size() - 1), "a limit one byte short refuses the stream");
    return 0;
}
