#pragma once

namespace uidriver {

// The system menu's Close item, which also drives the title bar's close box.
enum class CloseItemState {
    Enabled,
    Grayed,  // MF_GRAYED or MF_DISABLED: the user cannot choose it
    Missing,
};

const char* ToString(CloseItemState state);

}  // namespace uidriver
