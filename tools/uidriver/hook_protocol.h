#pragma once

#include <windows.h>

// What the driver and the hook DLL inside the dialog's process agree on.
namespace uidriver::hook {

constexpr wchar_t kDllName[] = L"uidriver_hook.dll";
constexpr char kHookProcedureName[] = "UidriverCallWndProc";

// Registered message that the subclassed dialog answers with the state of
// its system menu's Close item.
constexpr wchar_t kCloseItemQueryName[] = L"uidriver.CloseItemQuery";

// Every answer has kAnswered set: a dialog that is not subclassed yet
// returns 0 for a message it does not know.
constexpr LRESULT kAnswered = 0x100;
constexpr LRESULT kCloseEnabled = kAnswered | 1;
constexpr LRESULT kCloseGrayed = kAnswered | 2;
constexpr LRESULT kCloseMissing = kAnswered | 3;

// Registered message that the subclassed dialog answers with a size measured
// in its process: wParam is MAKEWPARAM(control id, what to measure).
constexpr wchar_t kMeasureQueryName[] = L"uidriver.MeasureQuery";
enum Measure : WORD {
    // The extent the control's text needs in the control's font, on one line.
    kTextExtent = 1,
    // The size of the bitmap a static control shows.
    kImageSize = 2,
};
// A measured size is kMeasured | height << 15 | width (each below 32768);
// kNotMeasured when there is no such control, text font or image.
constexpr LRESULT kMeasured = 0x40000000;
constexpr LRESULT kNotMeasured = 0x20000000;
constexpr LRESULT kMeasureMask = 0x7FFF;

// Registered message that makes the subclassed dialog act as if it had moved
// to a monitor of another scale: it sends itself WM_DPICHANGED with wParam's
// DPI and a suggested window rectangle at its place, lParam's
// MAKELPARAM(width, height); answered with kAnswered. Wine never sends the
// message itself.
constexpr wchar_t kDpiChangeQueryName[] = L"uidriver.DpiChangeQuery";

inline LRESULT MeasuredSize(LONG width, LONG height)
{
    return kMeasured | (static_cast<LRESULT>(height & kMeasureMask) << 15) | (width & kMeasureMask);
}

}  // namespace uidriver::hook
