#include "afx_thread.h"

#include <process.h>

namespace {

unsigned __stdcall RunThread(void* arg)
{
    auto* thread = static_cast<CWinThread*>(arg);
    const UINT result = thread->m_pfnThreadProc(thread->m_pThreadParams);
    delete thread;
    return result;
}

}  // namespace

CWinThread* AfxBeginThread(AFX_THREADPROC proc, LPVOID param, int priority, UINT stackSize, DWORD createFlags,
                           LPSECURITY_ATTRIBUTES security)
{
    auto* thread = new CWinThread(proc, param);
    unsigned threadId = 0;
    // Started suspended so the priority is set before the procedure runs.
    thread->m_hThread = reinterpret_cast<HANDLE>(
        _beginthreadex(security, stackSize, &RunThread, thread, CREATE_SUSPENDED, &threadId));
    if (!thread->m_hThread) {
        delete thread;
        return nullptr;
    }
    thread->m_nThreadID = threadId;
    ::SetThreadPriority(thread->m_hThread, priority);
    if (!(createFlags & CREATE_SUSPENDED))
        ::ResumeThread(thread->m_hThread);
    return thread;
}
