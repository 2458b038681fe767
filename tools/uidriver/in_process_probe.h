#pragma once

#include "close_item_state.h"

#include <windows.h>

namespace uidriver {

// Reads the dialog's system menu, which only its own process can do: the
// hook DLL subclasses the dialog once, and the dialog then answers a
// registered message. The hook is installed only until that has happened,
// so it costs the dialog's thread nothing afterwards.
class SystemMenuProbe {
public:
    explicit SystemMenuProbe(HWND dialog);

    CloseItemState CloseItem() const;

private:
    LRESULT Ask() const;
    void SubclassThroughHook() const;

    HWND dialog_;
    UINT query_;
};

}  // namespace uidriver
