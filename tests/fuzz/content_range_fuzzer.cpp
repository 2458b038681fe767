// A 206's Content-Range, as any text, against any bytes kept of any total:
// it continues the body only from the bytes kept to the last byte.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "download_retry.h"
#include "fuzz_invariant.h"
#include "utf16_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    uint64_t numbers[2] = {};
    std::memcpy(numbers, data, size < sizeof(numbers) ? size : sizeof(numbers));
    const uint64_t kept = numbers[0] % 4096, total = numbers[1] % 4096;
    const std::wstring text = size > sizeof(numbers) ? Utf16Text(data + sizeof(numbers), size - sizeof(numbers)) : L"";

    const bool continues = download_retry::ContinuesBody(text, kept, total);
    Require(!continues || kept < total, "a range that continues starts inside the body");
    const std::wstring exact = L"bytes " + std::to_wstring(kept) + L"-" + std::to_wstring(total - 1) + L"/" +
                               std::to_wstring(total);
    Require(download_retry::ContinuesBody(exact, kept, total) == (kept < total),
            "the range from the bytes kept to the last byte continues the body");
    return 0;
}
