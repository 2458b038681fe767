// Whether another installation runs, and how long to wait for it.
#include "other_installation.h"

#include <algorithm>

#include "afx_sync.h"
#include "wait_policies.h"

namespace {

// The mutex, opened with the right to release it: a look that finds it free
// takes it for that moment, and must hand it straight back.
class InstallerMutex : public CSyncObject {
public:
    InstallerMutex() { m_hObject = ::OpenMutexW(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, L"Global\\_MSIExecute"); }
};

}  // namespace

bool OtherInstallationRuns()
{
    // No mutex, or none this process may take: nothing to wait for here,
    // and an installer that still answers 1618 is started again later.
    InstallerMutex mutex;
    if (!mutex.m_hObject)
        return false;
    const DWORD look = ::WaitForSingleObject(mutex.m_hObject, 0);
    if (look == WAIT_OBJECT_0 || look == WAIT_ABANDONED)
        ::ReleaseMutex(mutex.m_hObject);
    return look == WAIT_TIMEOUT;
}

OtherInstallationWaits::OtherInstallationWaits()
    : m_deadline(::GetTickCount64() + kOtherInstallationBudgetMs)
{
}

bool OtherInstallationWaits::OutOfTime() const
{
    return ::GetTickCount64() >= m_deadline;
}

DWORD OtherInstallationWaits::NextWaitMs()
{
    const ULONGLONG now = ::GetTickCount64();
    const uint32_t waitMs = RetryWaitMs(kOtherInstallationWaits, ++m_waits, 0);
    return static_cast<DWORD>(std::min<ULONGLONG>(waitMs, now < m_deadline ? m_deadline - now : 0));
}
