#include "close_item_state.h"

namespace uidriver {

const char* ToString(CloseItemState state)
{
    switch (state) {
    case CloseItemState::Enabled:
        return "enabled";
    case CloseItemState::Grayed:
        return "grayed";
    case CloseItemState::Missing:
        return "missing";
    }
    return "unknown";
}

}  // namespace uidriver
