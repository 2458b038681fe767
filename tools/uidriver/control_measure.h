#pragma once

#include <windows.h>

// Measurements that only the dialog's own process can make; each returns a
// hook::MeasuredSize or hook::kNotMeasured.
namespace uidriver::hook {

LRESULT TextExtent(HWND control);
LRESULT ImageSize(HWND control);

}  // namespace uidriver::hook
