#pragma once

#include <windows.h>

#include <string>
#include <thread>

#include "vta_agent_download_managerDlg.h"

// Runs the real dialog modally on this thread while `body` acts as the
// worker on another thread, as the installation does; then closes it.
// `prepare` sees the dialog before it is made (its seams).
template <class Prepare, class Body>
void WithPreparedLiveDialog(Prepare prepare, Body body)
{
    Cvta_agent_download_managerDlg dialog;
    prepare(dialog);
    std::thread worker([&dialog, &body] {
        // Visible means initialised: a dialog is shown after WM_INITDIALOG.
        HWND window = nullptr;
        for (int i = 0; i < 1000 && !window; ++i) {
            window = ::FindWindowW(nullptr, L"VTA Agent Download Manager");
            if (!window || !::IsWindowVisible(window)) {
                window = nullptr;
                ::Sleep(10);
            }
        }
        if (!window)
            return;
        body(dialog);
        ::PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
    });
    dialog.DoModal();
    worker.join();
    // A dialog left with Cancel keeps the single-instance event for the rest
    // of the process; release it so the next test starts as a first copy.
    if (dialog.m_hInstanceEvent)
        ::CloseHandle(dialog.m_hInstanceEvent);
}

template <class Body>
void WithLiveDialog(Body body)
{
    WithPreparedLiveDialog([](Cvta_agent_download_managerDlg&) {}, body);
}

// The text a control of the dialog shows.
inline std::wstring ReadText(const Cvta_agent_download_managerDlg& dialog, int id)
{
    return dialog.GetDlgItem(id).GetWindowText().str();
}
