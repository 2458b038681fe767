#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The fuzzer's bytes as the UTF-16 text Windows hands the program:
// little-endian code units, each widened to this platform's 32-bit wchar_t,
// so no value beyond 0xFFFF ever appears. An odd last byte is dropped.
inline std::wstring Utf16Text(const uint8_t* data, size_t size)
{
    std::wstring text;
    text.reserve(size / 2);
    for (size_t i = 0; i + 1 < size; i += 2)
        text.push_back(static_cast<wchar_t>(data[i] | data[i + 1] << 8));
    return text;
}

// The text's pieces between U+0000 code units: separate strings, none of
// which can hold a zero, as none of the program's inputs can.
inline std::vector<std::wstring> PiecesBetweenZeros(const std::wstring& text)
{
    std::vector<std::wstring> pieces(1);
    for (const wchar_t unit : text) {
        if (unit == L'\0')
            pieces.emplace_back();
        else
            pieces.back().push_back(unit);
    }
    return pieces;
}
