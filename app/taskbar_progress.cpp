#include "taskbar_progress.h"

#include <shobjidl.h>

namespace {

class SystemTaskbar final : public TaskbarProgress {
public:
    SystemTaskbar(HWND window, ITaskbarList3* taskbar) : m_window(window), m_taskbar(taskbar) {}
    ~SystemTaskbar() override { m_taskbar->Release(); }
    SystemTaskbar(const SystemTaskbar&) = delete;
    SystemTaskbar& operator=(const SystemTaskbar&) = delete;

    void Show(ULONGLONG done, ULONGLONG total) override
    {
        m_taskbar->SetProgressState(m_window, TBPF_NORMAL);
        m_taskbar->SetProgressValue(m_window, done, total);
    }
    void ShowError() override { m_taskbar->SetProgressState(m_window, TBPF_ERROR); }
    void Clear() override { m_taskbar->SetProgressState(m_window, TBPF_NOPROGRESS); }

private:
    HWND m_window;
    ITaskbarList3* m_taskbar;
};

}  // namespace

std::unique_ptr<TaskbarProgress> SystemTaskbarProgress(HWND window)
{
    ITaskbarList3* taskbar = nullptr;
    if (FAILED(::CoCreateInstance(__uuidof(TaskbarList), nullptr, CLSCTX_INPROC_SERVER, __uuidof(ITaskbarList3),
                                  reinterpret_cast<void**>(&taskbar))))
        return nullptr;
    if (FAILED(taskbar->HrInit())) {
        taskbar->Release();
        return nullptr;
    }
    return std::make_unique<SystemTaskbar>(window, taskbar);
}

UINT TaskbarButtonCreatedMessage()
{
    static const UINT message = ::RegisterWindowMessageW(L"TaskbarButtonCreated");
    return message;
}

void AcceptTaskbarButtonCreated(HWND window)
{
    // Windows 7 and later, as the taskbar's progress is.
    using ChangeFilter = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);
    const auto changeFilter = reinterpret_cast<ChangeFilter>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32"), "ChangeWindowMessageFilterEx")));
    if (changeFilter)
        changeFilter(window, TaskbarButtonCreatedMessage(), MSGFLT_ALLOW, nullptr);
}
