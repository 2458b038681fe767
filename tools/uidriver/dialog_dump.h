#pragma once

#include "dialog_driver.h"

#include <string>

namespace uidriver {

// The dialog as JSON (UTF-8): caption, Close item, and every control with
// id, class, text, visibility and enabled state, plus the check state of
// check boxes and the position and range of progress bars.
std::string DumpJson(const DialogDriver& dialog);

}  // namespace uidriver
