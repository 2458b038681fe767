// Accept-Ranges, ETag and Last-Modified, as any texts: what goes back to the
// host as If-Range is one of them, and never ends a header line.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "download_retry.h"
#include "fuzz_invariant.h"
#include "utf16_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<std::wstring> pieces = PiecesBetweenZeros(Utf16Text(data, size));
    pieces.resize(3);
    const std::optional<std::wstring> validator = download_retry::ResumeValidator(pieces[0], pieces[1], pieces[2]);
    if (!validator)
        return 0;
    Require(pieces[0].find(L"bytes") != std::wstring::npos, "only a host that offers byte ranges gets one");
    Require((*validator == pieces[1] && validator->compare(0, 2, L"W/") != 0) || *validator == pieces[2],
            "a strong ETag, or the Last-Modified date");
    Require(!validator->empty() && std::none_of(validator->begin(), validator->end(),
                                                [](wchar_t c) { return c < L' ' || c == 0x7F; }),
            "nothing that could end the request's header line");
    return 0;
}
