#include <gtest/gtest.h>

#include "native_windows.h"
#include "windows_bitness.h"

namespace {

BOOL WINAPI ReportsWow64(HANDLE, PBOOL wow64) { *wow64 = TRUE; return TRUE; }
BOOL WINAPI ReportsNative(HANDLE, PBOOL wow64) { *wow64 = FALSE; return TRUE; }
BOOL WINAPI Fails(HANDLE, PBOOL wow64) { *wow64 = TRUE; return FALSE; }

TEST(WindowsBitness, A64BitProcessMeans64BitWindows)
{
    EXPECT_TRUE(WindowsIs64Bit(true, nullptr, nullptr));
}

TEST(WindowsBitness, A32BitProcessAsksIsWow64Process)
{
    EXPECT_TRUE(WindowsIs64Bit(false, &ReportsWow64, ::GetCurrentProcess()));
    EXPECT_FALSE(WindowsIs64Bit(false, &ReportsNative, ::GetCurrentProcess()));
    // A missing function or a failed call means 32-bit.
    EXPECT_FALSE(WindowsIs64Bit(false, nullptr, ::GetCurrentProcess()));
    EXPECT_FALSE(WindowsIs64Bit(false, &Fails, ::GetCurrentProcess()));
}

// The real lookup, in this process of the build's own bitness: a 64-bit
// prefix through WOW64 for the i686 build, natively for the x86_64 one, and
// the 32-bit prefix.
TEST(WindowsBitness, TheProcessFindsTheBitnessOfItsWindows)
{
    EXPECT_EQ(RunningOn64BitWindows(), gui_test::NativeWindowsIs64Bit());
}

}  // namespace
