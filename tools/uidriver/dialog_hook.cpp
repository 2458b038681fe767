// Loaded into the dialog's process by a thread hook. Reading the system menu,
// measuring what a control draws and handing the dialog a pointer (as
// WM_DPICHANGED carries) only work in-process, so on the first
// query the hook subclasses the dialog, and from then on the dialog answers
// queries itself, hook or no hook.
#include "control_measure.h"
#include "hook_protocol.h"

namespace {

constexpr wchar_t kOriginalProcedureProperty[] = L"uidriver.OriginalWndProc";

UINT CloseItemQuery()
{
    static const UINT message = RegisterWindowMessageW(uidriver::hook::kCloseItemQueryName);
    return message;
}

UINT MeasureQuery()
{
    static const UINT message = RegisterWindowMessageW(uidriver::hook::kMeasureQueryName);
    return message;
}

UINT DpiChangeQuery()
{
    static const UINT message = RegisterWindowMessageW(uidriver::hook::kDpiChangeQueryName);
    return message;
}

bool IsQuery(UINT message)
{
    return message == CloseItemQuery() || message == MeasureQuery() || message == DpiChangeQuery();
}

LRESULT ChangeDpi(HWND dialog, WPARAM dpi, LPARAM size)
{
    RECT suggested{};
    GetWindowRect(dialog, &suggested);
    suggested.right = suggested.left + LOWORD(size);
    suggested.bottom = suggested.top + HIWORD(size);
    SendMessageW(dialog, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    return uidriver::hook::kAnswered;
}

LRESULT Measure(HWND dialog, WPARAM what)
{
    const HWND control = GetDlgItem(dialog, LOWORD(what));
    switch (HIWORD(what)) {
    case uidriver::hook::kTextExtent:
        return uidriver::hook::TextExtent(control);
    case uidriver::hook::kImageSize:
        return uidriver::hook::ImageSize(control);
    }
    return uidriver::hook::kNotMeasured;
}

LRESULT CloseItemState(HWND dialog)
{
    const HMENU menu = GetSystemMenu(dialog, FALSE);
    const UINT state = menu ? GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND) : static_cast<UINT>(-1);
    if (state == static_cast<UINT>(-1))
        return uidriver::hook::kCloseMissing;
    return (state & (MF_GRAYED | MF_DISABLED)) ? uidriver::hook::kCloseGrayed : uidriver::hook::kCloseEnabled;
}

LRESULT CALLBACK AnsweringProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto original = reinterpret_cast<WNDPROC>(GetPropW(window, kOriginalProcedureProperty));
    if (message == CloseItemQuery())
        return CloseItemState(window);
    if (message == MeasureQuery())
        return Measure(window, wParam);
    if (message == DpiChangeQuery())
        return ChangeDpi(window, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        RemovePropW(window, kOriginalProcedureProperty);
    }
    return CallWindowProcW(original, window, message, wParam, lParam);
}

void Subclass(HWND dialog)
{
    if (GetPropW(dialog, kOriginalProcedureProperty))
        return;
    // The subclass outlives the hook, so this DLL must never be unloaded.
    HMODULE self = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       reinterpret_cast<LPCWSTR>(&AnsweringProcedure), &self);
    // The property must be in place before the first message reaches the subclass.
    SetPropW(dialog, kOriginalProcedureProperty, reinterpret_cast<HANDLE>(GetWindowLongPtrW(dialog, GWLP_WNDPROC)));
    SetWindowLongPtrW(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AnsweringProcedure));
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK UidriverCallWndProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION) {
        const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (IsQuery(call->message))
            Subclass(call->hwnd);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
