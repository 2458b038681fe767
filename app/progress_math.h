#pragma once

#include <cstdint>
#include <string>

// Arithmetic and texts of the progress display. Every file is worth 500
// units of the total bar; the first file fills 0 to 500, the second 500 to
// 1000, and so on.
namespace progress {

constexpr int kUnitsPerFile = 500;

// A position and upper bound that fit the per-file bar's 32-bit range:
// totals of 2^31 bytes or more are scaled down, keeping the proportion.
struct BarPosition {
    int upper;
    int position;
};
BarPosition FileBar(int64_t bytesDone, int64_t bytesTotal);

// "<done> bytes( <percent>% ) out of <total> bytes". bytesTotal > 0.
std::wstring FileLabel(int64_t bytesDone, int64_t bytesTotal);

// The total bar's next position among `files` files: the file's share of
// 500 units, lifted by the files the bar holds whole already, and by one
// more when it stands above that (the next file has begun), up to the last.
int64_t NextTotalPosition(int currentPosition, int64_t bytesDone, int64_t bytesTotal, int files);

// "Total progress ( <percent>% )" for a bar position out of `units`.
std::wstring TotalLabel(int position, int units);

}  // namespace progress
