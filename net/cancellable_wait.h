// The one way a run waits: until the time is up or the user cancels.
#pragma once

#include <windows.h>

// Waits `waitMs` unless the user cancels first: false when `cancelEvent`
// was signalled meanwhile (auto-reset: the wait consumes the request). Every
// wait of a run between its steps goes through here, so Cancel ends any of
// them at once.
inline bool WaitUnlessCancelled(HANDLE cancelEvent, DWORD waitMs)
{
    return ::WaitForSingleObject(cancelEvent, waitMs) != WAIT_OBJECT_0;
}
