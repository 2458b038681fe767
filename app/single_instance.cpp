#include "single_instance.h"

HANDLE CreateSingleInstanceEvent()
{
    const HANDLE event = ::CreateEventW(nullptr, FALSE, FALSE, L"Global\\VTADOWNLOADERAPP");
    if (event && ::GetLastError() == ERROR_ALREADY_EXISTS) {
        ::CloseHandle(event);
        return nullptr;
    }
    return event;
}
