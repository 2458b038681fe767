#pragma once

#include <windows.h>

#include <memory>

// The progress shown on the dialog's taskbar button, mirroring the total
// bar, so that a user who switched away sees how far the run is.
class TaskbarProgress {
public:
    virtual ~TaskbarProgress() = default;
    virtual void Show(ULONGLONG done, ULONGLONG total) = 0;
    // A failed or cancelled run.
    virtual void ShowError() = 0;
    virtual void Clear() = 0;
};

// The taskbar's own (ITaskbarList3) for the button of `window`, once the
// taskbar has made the button; nothing where there is no taskbar. Call on
// the window's thread, with COM initialised.
std::unique_ptr<TaskbarProgress> SystemTaskbarProgress(HWND window);

// The message the taskbar sends a window once it has made its button; an
// elevated window lets it through from the taskbar's lower integrity level.
UINT TaskbarButtonCreatedMessage();
void AcceptTaskbarButtonCreated(HWND window);
