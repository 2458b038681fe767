#pragma once

#include <windows.h>

// A waitable kernel object owned by this wrapper.
class CSyncObject {
public:
    CSyncObject(const CSyncObject&) = delete;
    CSyncObject& operator=(const CSyncObject&) = delete;
    virtual ~CSyncObject()
    {
        if (m_hObject)
            ::CloseHandle(m_hObject);
    }

    // Nonzero when the object was signalled within the time-out.
    virtual BOOL Lock(DWORD timeoutMs = INFINITE) { return ::WaitForSingleObject(m_hObject, timeoutMs) == WAIT_OBJECT_0; }

    HANDLE m_hObject = nullptr;

protected:
    CSyncObject() = default;
};

class CEvent : public CSyncObject {
public:
    explicit CEvent(BOOL initiallyOwn = FALSE, BOOL manualReset = FALSE, LPCWSTR name = nullptr,
                    LPSECURITY_ATTRIBUTES security = nullptr)
    {
        m_hObject = ::CreateEventW(security, manualReset, initiallyOwn, name);
    }

    BOOL SetEvent() { return ::SetEvent(m_hObject); }
    BOOL ResetEvent() { return ::ResetEvent(m_hObject); }
};
