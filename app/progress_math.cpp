#include "progress_math.h"

#include <algorithm>
#include <climits>

namespace progress {

BarPosition FileBar(int64_t bytesDone, int64_t bytesTotal)
{
    while (bytesTotal > INT_MAX) {
        bytesTotal >>= 1;
        bytesDone >>= 1;
    }
    if (bytesDone > INT_MAX)
        bytesDone = INT_MAX;
    return {static_cast<int>(bytesTotal), static_cast<int>(bytesDone)};
}

std::wstring FileLabel(int64_t bytesDone, int64_t bytesTotal)
{
    const int64_t percent = bytesDone * 100 / bytesTotal;
    return std::to_wstring(bytesDone) + L" bytes( " + std::to_wstring(percent) + L"% ) out of " +
           std::to_wstring(bytesTotal) + L" bytes";
}

int64_t NextTotalPosition(int currentPosition, int64_t bytesDone, int64_t bytesTotal, int files)
{
    const int64_t scaled = bytesDone * kUnitsPerFile / bytesTotal;
    // A bar that already holds a whole file is on the next one, also when
    // its only report is the complete one.
    int64_t filesDone = currentPosition / kUnitsPerFile;
    if (filesDone * kUnitsPerFile + scaled < currentPosition)
        ++filesDone;
    // One file's bar goes on as two files' would: its range clamps it.
    return std::min<int64_t>(filesDone, std::max(files - 1, 1)) * kUnitsPerFile + scaled;
}

std::wstring TotalLabel(int position, int units)
{
    return L"Total progress ( " + std::to_wstring(position * 100 / units) + L"% )";
}

}  // namespace progress
