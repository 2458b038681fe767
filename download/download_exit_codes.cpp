// A failure's exit code from its cause.
#include "download_exit_codes.h"

namespace exit_codes {

uint32_t CausedBy(uint32_t error, uint32_t classCode)
{
    return error == kSuccess || error == kRestartRequired ? classCode : error;
}

}  // namespace exit_codes
