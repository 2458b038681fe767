#include "dialog_driver.h"

#include "driver_error.h"
#include "hook_protocol.h"
#include "window_messages.h"

#include <commctrl.h>

#include <string>

namespace uidriver {

namespace {

constexpr wchar_t kDialogClass[] = L"#32770";
constexpr Milliseconds kCheckChangeTimeout{2000};
// Inside the first letter of the link text, which starts at the control's left edge.
constexpr int kLinkTextOffset = 6;
constexpr size_t kTextSlack = 64;

std::wstring ClassOf(HWND window)
{
    wchar_t name[256] = {};
    GetClassNameW(window, name, static_cast<int>(std::size(name)));
    return name;
}

// Top-level windows keep their caption outside the owning process as well,
// so comparing captions sends nothing to possibly busy windows.
std::wstring TopLevelCaption(HWND window)
{
    std::wstring caption(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    caption.resize(static_cast<size_t>(GetWindowTextW(window, caption.data(), static_cast<int>(caption.size()))));
    return caption;
}

struct DialogSearch {
    const std::wstring& caption;
    DWORD processId;
    HWND found = nullptr;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM searchAddress)
{
    auto& search = *reinterpret_cast<DialogSearch*>(searchAddress);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if ((search.processId != 0 && owner != search.processId) || !IsWindowVisible(window) ||
        ClassOf(window) != kDialogClass || TopLevelCaption(window) != search.caption)
        return TRUE;
    search.found = window;
    return FALSE;
}

std::string ControlName(int id)
{
    return "control " + std::to_string(id);
}

}  // namespace

std::optional<DialogDriver> DialogDriver::Find(const std::wstring& caption, DWORD processId, Milliseconds timeout)
{
    DialogSearch search{caption, processId};
    const bool found = PollUntil(
        [&search] {
            EnumWindows(&MatchDialog, reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        },
        timeout);
    if (!found)
        return std::nullopt;
    return DialogDriver(search.found);
}

DialogDriver::DialogDriver(HWND dialog) : dialog_(dialog), inProcess_(dialog)
{
    GetWindowThreadProcessId(dialog_, &processId_);
    process_.reset(OpenProcess(SYNCHRONIZE, FALSE, processId_));
}

bool DialogDriver::Exists() const
{
    return IsWindow(dialog_) != FALSE;
}

std::wstring DialogDriver::Caption() const
{
    if (!Exists())
        throw DriverError("the dialog window is gone");
    return WindowText(dialog_);
}

CloseItemState DialogDriver::CloseItem() const
{
    return inProcess_.CloseItem();
}

SIZE DialogDriver::ClientSize() const
{
    RECT client{};
    if (!GetClientRect(dialog_, &client))
        throw DriverError("the dialog window is gone");
    return {client.right, client.bottom};
}

RECT DialogDriver::ClientRect(int id) const
{
    RECT rect{};
    GetWindowRect(Control(id), &rect);
    MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::optional<SIZE> DialogDriver::TextExtent(int id) const
{
    return inProcess_.Measure(id, hook::kTextExtent);
}

std::optional<SIZE> DialogDriver::ImageSize(int id) const
{
    return inProcess_.Measure(id, hook::kImageSize);
}

void DialogDriver::ChangeDpi(WORD dpi, SIZE windowSize) const
{
    inProcess_.ChangeDpi(dpi, windowSize);
}

std::vector<int> DialogDriver::ControlIds() const
{
    std::vector<int> ids;
    for (HWND child = GetWindow(dialog_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        ids.push_back(GetDlgCtrlID(child));
    return ids;
}

std::wstring DialogDriver::ClassName(int id) const
{
    return ClassOf(Control(id));
}

std::wstring DialogDriver::Text(int id) const
{
    return WindowText(Control(id));
}

bool DialogDriver::IsVisible(int id) const
{
    return (Style(id) & WS_VISIBLE) != 0;
}

bool DialogDriver::IsEnabled(int id) const
{
    return IsWindowEnabled(Control(id)) != FALSE;
}

bool DialogDriver::IsCheckable(int id) const
{
    if (ClassName(id) != WC_BUTTONW)
        return false;
    switch (Style(id) & BS_TYPEMASK) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
        return true;
    default:
        return false;
    }
}

int DialogDriver::CheckState(int id) const
{
    return static_cast<int>(SendWithTimeout(Control(id), BM_GETCHECK, 0, 0));
}

int DialogDriver::ProgressPosition(int id) const
{
    return static_cast<int>(SendWithTimeout(Control(id), PBM_GETPOS, 0, 0));
}

ProgressRange DialogDriver::ProgressLimits(int id) const
{
    const HWND bar = Control(id);
    // Without a PBRANGE pointer, which would not cross processes, wParam picks the limit.
    return {static_cast<int>(SendWithTimeout(bar, PBM_GETRANGE, TRUE, 0)),
            static_cast<int>(SendWithTimeout(bar, PBM_GETRANGE, FALSE, 0))};
}

void DialogDriver::Click(int id) const
{
    Post(ClickableControl(id), BM_CLICK, 0, 0);
}

void DialogDriver::Command(int id) const
{
    Notify(id, BN_CLICKED);
}

void DialogDriver::Notify(int id, WORD notification) const
{
    Post(dialog_, WM_COMMAND, MAKEWPARAM(id, notification), reinterpret_cast<LPARAM>(GetDlgItem(dialog_, id)));
}

HWND DialogDriver::Focus() const
{
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    const DWORD thread = GetWindowThreadProcessId(dialog_, nullptr);
    return GetGUIThreadInfo(thread, &info) && info.hwndFocus && IsChild(dialog_, info.hwndFocus) ? info.hwndFocus
                                                                                                 : dialog_;
}

int DialogDriver::FocusedControlId() const
{
    const HWND focus = Focus();
    return focus == dialog_ ? 0 : GetDlgCtrlID(focus);
}

void DialogDriver::PressKey(UINT virtualKey, bool alt) const
{
    // The context bit (29) marks a key pressed with Alt held down.
    const LPARAM down = 1 | (alt ? LPARAM(1) << 29 : 0);
    const LPARAM up = down | LPARAM(1) << 30 | LPARAM(1) << 31;
    const HWND focus = Focus();
    Post(focus, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, virtualKey, down);
    Post(focus, alt ? WM_SYSKEYUP : WM_KEYUP, virtualKey, up);
}

void DialogDriver::SystemCommand(UINT command) const
{
    Post(dialog_, WM_SYSCOMMAND, command, 0);
}

void DialogDriver::ClickLink(int id) const
{
    const HWND link = ClickableControl(id);
    RECT client{};
    GetClientRect(link, &client);
    const LPARAM point = MAKELPARAM(kLinkTextOffset, (client.bottom - client.top) / 2);
    // NM_CLICK carries a pointer and cannot be sent from here; the link raises
    // it itself for a press and release on its text.
    Post(link, WM_MOUSEMOVE, 0, point);
    Post(link, WM_LBUTTONDOWN, MK_LBUTTON, point);
    Post(link, WM_LBUTTONUP, 0, point);
}

void DialogDriver::SetCheck(int id, bool ticked) const
{
    const int wanted = ticked ? BST_CHECKED : BST_UNCHECKED;
    if (CheckState(id) == wanted)
        return;
    Click(id);
    if (!PollUntil([&] { return CheckState(id) == wanted; }, kCheckChangeTimeout))
        throw DriverError(ControlName(id) + " did not change its check state when clicked");
}

bool DialogDriver::WaitEnabled(int id, Milliseconds timeout) const
{
    return PollUntil([&] { return IsEnabled(id); }, timeout);
}

bool DialogDriver::WaitText(int id, const std::function<bool(const std::wstring&)>& accept,
                            Milliseconds timeout) const
{
    return PollUntil([&] { return accept(Text(id)); }, timeout);
}

bool DialogDriver::WaitClosed(Milliseconds timeout) const
{
    return PollUntil([this] { return !Exists(); }, timeout);
}

bool DialogDriver::WaitProcessExit(Milliseconds timeout) const
{
    if (!process_)
        throw DriverError("cannot wait for process " + std::to_string(processId_));
    return WaitForSingleObject(process_.get(), static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

std::chrono::microseconds DialogDriver::PingRoundTrip() const
{
    const auto start = std::chrono::steady_clock::now();
    SendWithTimeout(dialog_, WM_NULL, 0, 0);
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
}

HWND DialogDriver::Control(int id) const
{
    if (!Exists())
        throw DriverError("the dialog window is gone");
    const HWND control = GetDlgItem(dialog_, id);
    if (!control)
        throw DriverError("the dialog has no " + ControlName(id));
    return control;
}

HWND DialogDriver::ClickableControl(int id) const
{
    if (!IsVisible(id) || !IsEnabled(id))
        throw DriverError(ControlName(id) + " is hidden or disabled, a user could not click it");
    return Control(id);
}

LONG DialogDriver::Style(int id) const
{
    return GetWindowLongW(Control(id), GWL_STYLE);
}

std::wstring DialogDriver::WindowText(HWND window) const
{
    // The text may grow between asking its length and reading it (the
    // details log does); read again with more room when it filled the buffer.
    size_t room = static_cast<size_t>(SendWithTimeout(window, WM_GETTEXTLENGTH, 0, 0)) + kTextSlack;
    for (;;) {
        std::wstring text(room, L'\0');
        const auto copied =
            static_cast<size_t>(SendWithTimeout(window, WM_GETTEXT, room, reinterpret_cast<LPARAM>(text.data())));
        if (copied + 1 < room) {
            text.resize(copied);
            return text;
        }
        room *= 2;
    }
}

}  // namespace uidriver
