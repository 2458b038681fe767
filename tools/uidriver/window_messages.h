#pragma once

#include <windows.h>

namespace uidriver {

// Long enough for a dialog on a busy 2-core machine: the first dialog in a
// fresh prefix has kept its thread from answering for over 2 s there.
constexpr UINT kReplyTimeoutMs = 10000;

// Sends a message but gives up after kReplyTimeoutMs or at once when the
// receiver is hung, throwing DriverError: the dialog's thread serves its
// worker synchronously, and a test tool must never wait on it for good.
LRESULT SendWithTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Posts without waiting for the receiver; throws DriverError when the
// message cannot be queued.
void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace uidriver
