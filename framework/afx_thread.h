#pragma once

#include <windows.h>

using AFX_THREADPROC = UINT (*)(LPVOID);

// A worker thread that deletes this object, and closes its handle, when the
// thread procedure returns.
class CWinThread {
public:
    CWinThread(AFX_THREADPROC proc, LPVOID param) : m_pfnThreadProc(proc), m_pThreadParams(param) {}
    ~CWinThread()
    {
        if (m_hThread)
            ::CloseHandle(m_hThread);
    }
    CWinThread(const CWinThread&) = delete;
    CWinThread& operator=(const CWinThread&) = delete;

    HANDLE m_hThread = nullptr;
    UINT m_nThreadID = 0;
    AFX_THREADPROC m_pfnThreadProc;
    LPVOID m_pThreadParams;
};

// Starts proc(param) on a new thread. The returned object belongs to the
// thread and may be gone as soon as the thread ends; null when no thread
// could be created.
CWinThread* AfxBeginThread(AFX_THREADPROC proc, LPVOID param, int priority = THREAD_PRIORITY_NORMAL,
                           UINT stackSize = 0, DWORD createFlags = 0, LPSECURITY_ATTRIBUTES security = nullptr);
