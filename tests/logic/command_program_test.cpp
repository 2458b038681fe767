#include <gtest/gtest.h>

#include "command_program.h"

namespace {

TEST(CommandProgram, ABareNameIsTheProgramToLookUp)
{
    EXPECT_EQ(BareProgramName(L"msiexec /i pm.msi /qn"), L"msiexec.exe");
    EXPECT_EQ(BareProgramName(L"msiexec.exe /i pm.msi"), L"msiexec.exe");
    EXPECT_EQ(BareProgramName(L"\"msiexec\" /i pm.msi"), L"msiexec.exe");
    EXPECT_EQ(BareProgramName(L"  msiexec\t/i pm.msi"), L"msiexec.exe");
    EXPECT_EQ(BareProgramName(L"setup.cmd"), L"setup.cmd");
}

TEST(CommandProgram, APathIsUsedAsGiven)
{
    EXPECT_FALSE(BareProgramName(L"C:\\Windows\\System32\\msiexec.exe /i pm.msi"));
    EXPECT_FALSE(BareProgramName(L"\"C:\\Program Files\\PM\\setup.exe\" /S"));
    EXPECT_FALSE(BareProgramName(L"tools\\setup.exe /S"));
    EXPECT_FALSE(BareProgramName(L".\\msiexec.exe /i pm.msi"));
    EXPECT_FALSE(BareProgramName(L"\\\\server\\share\\setup.exe"));
    EXPECT_FALSE(BareProgramName(L"C:setup.exe"));
    EXPECT_FALSE(BareProgramName(L""));
    EXPECT_FALSE(BareProgramName(L"   "));
    EXPECT_FALSE(BareProgramName(L"\"\" /i pm.msi"));
}

}  // namespace
