#pragma once

#include "close_item_state.h"

#include <windows.h>

#include <optional>

namespace uidriver {

// Reads and does what only the dialog's own process can: its system menu,
// sizes measured with its controls' fonts and images, a DPI change. The hook DLL subclasses the
// dialog once, and the dialog then answers registered messages. The hook is
// installed only until that has happened, so it costs the dialog's thread
// nothing afterwards.
class InProcessProbe {
public:
    explicit InProcessProbe(HWND dialog);

    CloseItemState CloseItem() const;
    // The control's text extent or image size (hook::Measure); nothing when
    // the control has no such thing.
    std::optional<SIZE> Measure(int id, WORD what) const;
    // The dialog gets WM_DPICHANGED for `dpi`, suggesting a window of
    // `windowSize` at its place (hook::kDpiChangeQueryName).
    void ChangeDpi(WORD dpi, SIZE windowSize) const;

private:
    LRESULT Ask(UINT query, WPARAM wParam, LPARAM lParam = 0) const;
    void SubclassThroughHook() const;

    HWND dialog_;
    UINT closeItemQuery_;
    UINT measureQuery_;
    UINT dpiChangeQuery_;
};

}  // namespace uidriver
