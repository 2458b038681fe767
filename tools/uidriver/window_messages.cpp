#include "window_messages.h"

#include "driver_error.h"

#include <sstream>
#include <string>

namespace uidriver {

namespace {

std::string Describe(HWND window, UINT message)
{
    std::ostringstream text;
    text << "message 0x" << std::hex << message << " to window 0x" << reinterpret_cast<UINT_PTR>(window);
    return text.str();
}

}  // namespace

LRESULT SendWithTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kReplyTimeoutMs, &result))
        throw DriverError(Describe(window, message) + " got no answer within " + std::to_string(kReplyTimeoutMs) +
                          " ms (error " + std::to_string(GetLastError()) + ")");
    return static_cast<LRESULT>(result);
}

void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!PostMessageW(window, message, wParam, lParam))
        throw DriverError("cannot post " + Describe(window, message) + " (error " + std::to_string(GetLastError()) +
                          ")");
}

}  // namespace uidriver
