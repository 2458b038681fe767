// The exit codes a failed package download ends with.
#pragma once

#include <cstdint>

#include "web_origin.h"

// The exit codes a package download ends with: the program's exit code when
// the download ends the run (install/exit_codes.h has the others). Where a
// Win32 or WinINet error caused the failure, that error is the code;
// otherwise each failure class has a code of its own, above the range of
// Win32 errors. The retry rules tell passing failures from lasting ones by
// these codes.
namespace exit_codes {

constexpr uint32_t kSuccess = 0;
constexpr uint32_t kUserCancelled = 1602;       // ERROR_INSTALL_USEREXIT: a download was cancelled
constexpr uint32_t kRestartRequired = 3010;     // ERROR_SUCCESS_REBOOT_REQUIRED

constexpr uint32_t kHttpStatusBase = 20000;     // + the HTTP status of a refused package download
constexpr uint32_t kOpenFailed = 20010;         // the package URL could not be opened, no error code
constexpr uint32_t kReadFailed = 20011;         // the body ended before its announced length
constexpr uint32_t kUrlRefused = 20012;         // a package URL that is not http:// or https://
constexpr uint32_t kLocalFileFailed = 20013;    // no usable local file, no error code
constexpr uint32_t kPackageChanged = 20016;     // the package changed on disk before its installer started
constexpr uint32_t kPackageNotSigned = 20017;   // the package is not signed by a publisher the build pins
constexpr uint32_t kLayoutFileMissing = 20022;  // a package the layout's manifest names is not in the layout
constexpr uint32_t kLayoutFileDiffers = 20023;  // a package in the layout is not the one its manifest names
// an answer that did not come over TLS from the host asked claimed success
constexpr uint32_t kAnswerNotFromHost = ::kAnswerNotFromHost;

// `error` stands for the failure's cause when it is one; otherwise the class
// code. 0 and 3010 are never a failure's code.
uint32_t CausedBy(uint32_t error, uint32_t classCode);

}  // namespace exit_codes
