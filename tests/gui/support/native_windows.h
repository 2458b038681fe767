#pragma once

namespace gui_test {

// The bitness of the Windows the tests run on, as GetNativeSystemInfo tells
// it: a source of its own, not the program's IsWow64Process question.
bool NativeWindowsIs64Bit();

// A 32-bit test build drives a 32-bit program: both come from one build.
inline constexpr bool kProgramIs32Bit = sizeof(void*) == 4;

}  // namespace gui_test
