// The program's exit codes for scripts and deployment tools.
#pragma once

#include <cstdint>

#include "download_exit_codes.h"

// Process exit codes of the unattended modes, for the scripts and
// deployment tools that start the program. 0 only when everything selected
// was installed, 3010 when it was and an installer asked for a restart, 1641
// when an installer started one; a failure never maps to 0 or to 3010.
// A failed download ends with its own code (download_exit_codes.h); the
// codes of the rest of the run are here. The README lists them all.
namespace exit_codes {

constexpr uint32_t kInvalidParameter = 87;      // ERROR_INVALID_PARAMETER: unknown switch, missing value
constexpr uint32_t kAlreadyRunning = 1618;      // ERROR_INSTALL_ALREADY_RUNNING: another copy runs
constexpr uint32_t kRestartStarted = 1641;      // ERROR_SUCCESS_REBOOT_INITIATED: an installer restarts the machine

constexpr uint32_t kDetailsRefused = 20014;     // the web service answered without the download details
constexpr uint32_t kNotStarted = 20015;         // the installation could not be started, no error code
constexpr uint32_t kProgramRefused = 20018;     // the install command names its program by a path that is not full
constexpr uint32_t kLayoutUnreadable = 20020;   // the layout's manifest is missing, cut short or unreadable
constexpr uint32_t kLayoutOtherVersion = 20021; // the layout was made by another version of the program

}  // namespace exit_codes
