#pragma once

#include "close_item_state.h"
#include "driver_error.h"
#include "polling.h"
#include "in_process_probe.h"
#include "unique_handle.h"

#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace uidriver {

constexpr wchar_t kProductCaption[] = L"VTA Agent Download Manager";

struct ProgressRange {
    int low;
    int high;
};

// Reads and drives one dialog of another process the way a user would.
// Reads go through SendMessageTimeout and actions are posted, so the
// dialog's thread is never blocked by us; reads throw DriverError when the
// dialog is gone, hung, or has no such control.
class DialogDriver {
public:
    // Waits for a visible dialog with exactly this caption, owned by
    // processId unless that is 0.
    static std::optional<DialogDriver> Find(const std::wstring& caption, DWORD processId, Milliseconds timeout);

    explicit DialogDriver(HWND dialog);

    HWND Window() const { return dialog_; }
    DWORD ProcessId() const { return processId_; }

    bool Exists() const;
    std::wstring Caption() const;
    CloseItemState CloseItem() const;
    // Ids of the dialog's controls, in tab order.
    std::vector<int> ControlIds() const;

    std::wstring ClassName(int id) const;
    std::wstring Text(int id) const;
    // The control's own WS_VISIBLE flag, whatever the dialog's state.
    bool IsVisible(int id) const;
    bool IsEnabled(int id) const;
    bool IsCheckable(int id) const;
    int CheckState(int id) const;  // BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE
    int ProgressPosition(int id) const;
    ProgressRange ProgressLimits(int id) const;

    // Sizes in pixels. The dialog's client area; a control's rectangle in it.
    SIZE ClientSize() const;
    RECT ClientRect(int id) const;
    // Measured inside the dialog's process (hook DLL): the extent the
    // control's text needs on one line in its font, and the size of the
    // bitmap a static control shows; nothing when it has none.
    std::optional<SIZE> TextExtent(int id) const;
    std::optional<SIZE> ImageSize(int id) const;
    // As if the dialog had moved to a monitor of `dpi`, with a window of
    // `windowSize` suggested (hook DLL).
    void ChangeDpi(WORD dpi, SIZE windowSize) const;

    // Actions are queued to the dialog and take effect when its thread gets
    // to them; wait for their visible outcome.
    void Click(int id) const;    // refuses a control a user could not click
    void Command(int id) const;  // WM_COMMAND to the dialog, as Escape sends IDCANCEL
    // WM_COMMAND with another notification code, as an automation tool can send it.
    void Notify(int id, WORD notification) const;
    // A key press as the keyboard delivers it: to the control that has the
    // focus, or the dialog when none has (Tab, Enter, Escape; with alt,
    // Alt+F4). The dialog manager sees it first, as in the dialog's loop.
    void PressKey(UINT virtualKey, bool alt = false) const;
    // The id of the control with the keyboard focus; 0 for none.
    int FocusedControlId() const;
    // WM_SYSCOMMAND, as the system menu sends it (SC_CLOSE).
    void SystemCommand(UINT command) const;
    void ClickLink(int id) const;
    // Clicks the check box only if its state differs, then waits until it changed.
    void SetCheck(int id, bool ticked) const;

    bool WaitEnabled(int id, Milliseconds timeout) const;
    bool WaitText(int id, const std::function<bool(const std::wstring&)>& accept, Milliseconds timeout) const;
    bool WaitClosed(Milliseconds timeout) const;
    bool WaitProcessExit(Milliseconds timeout) const;

    // Round trip of one WM_NULL through the dialog's thread.
    std::chrono::microseconds PingRoundTrip() const;

private:
    HWND Control(int id) const;
    HWND Focus() const;
    HWND ClickableControl(int id) const;
    LONG Style(int id) const;
    std::wstring WindowText(HWND window) const;

    HWND dialog_;
    DWORD processId_ = 0;
    KernelHandle process_;
    InProcessProbe inProcess_;
};

}  // namespace uidriver
