#pragma once

#include <cstdint>
#include <optional>

#include "package_kind.h"

// Process exit codes of the unattended modes, for the scripts and
// deployment tools that start the program. 0 only when everything selected
// was installed, 3010 when it was and an installer asked for a restart, 1641
// when an installer started one; a failure never maps to 0 or to 3010.
// Where a Win32 or WinINet error caused a failure, that error is the code;
// otherwise each failure class has a code of its own, above the range of
// Win32 errors. The README lists them.
namespace exit_codes {

constexpr uint32_t kSuccess = 0;
constexpr uint32_t kInvalidParameter = 87;      // ERROR_INVALID_PARAMETER: unknown switch, missing value
constexpr uint32_t kUserCancelled = 1602;       // ERROR_INSTALL_USEREXIT: a download was cancelled
constexpr uint32_t kAlreadyRunning = 1618;      // ERROR_INSTALL_ALREADY_RUNNING: another copy runs
constexpr uint32_t kRestartStarted = 1641;      // ERROR_SUCCESS_REBOOT_INITIATED: an installer restarts the machine
constexpr uint32_t kRestartRequired = 3010;     // ERROR_SUCCESS_REBOOT_REQUIRED

constexpr uint32_t kHttpStatusBase = 20000;     // + the HTTP status of a refused package download
constexpr uint32_t kOpenFailed = 20010;         // the package URL could not be opened, no error code
constexpr uint32_t kReadFailed = 20011;         // the body ended before its announced length
constexpr uint32_t kUrlRefused = 20012;         // a package URL that is not http:// or https://
constexpr uint32_t kLocalFileFailed = 20013;    // no usable local file, no error code
constexpr uint32_t kDetailsRefused = 20014;     // the web service answered without the download details
constexpr uint32_t kNotStarted = 20015;         // the installation could not be started, no error code
constexpr uint32_t kPackageChanged = 20016;     // the package changed on disk before its installer started
constexpr uint32_t kPackageNotSigned = 20017;   // the package is not signed by a publisher the build pins
constexpr uint32_t kProgramRefused = 20018;     // the install command names its program by a path that is not full

// `error` stands for the failure's cause when it is one; otherwise the class
// code. 0 and 3010 are never a failure's code.
uint32_t CausedBy(uint32_t error, uint32_t classCode);

}  // namespace exit_codes
