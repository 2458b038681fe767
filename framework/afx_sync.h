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

// A critical section: a lock for data two threads of this process share.
class CCriticalSection {
public:
    CCriticalSection() { ::InitializeCriticalSection(&m_sect); }
    ~CCriticalSection() { ::DeleteCriticalSection(&m_sect); }
    CCriticalSection(const CCriticalSection&) = delete;
    CCriticalSection& operator=(const CCriticalSection&) = delete;

    void Lock() { ::EnterCriticalSection(&m_sect); }
    void Unlock() { ::LeaveCriticalSection(&m_sect); }

    CRITICAL_SECTION m_sect;
};

// Holds a critical section from construction to the end of its scope.
class CSingleLock {
public:
    explicit CSingleLock(CCriticalSection& section) : m_section(section) { m_section.Lock(); }
    ~CSingleLock() { m_section.Unlock(); }
    CSingleLock(const CSingleLock&) = delete;
    CSingleLock& operator=(const CSingleLock&) = delete;

private:
    CCriticalSection& m_section;
};
