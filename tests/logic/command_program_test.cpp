#include <gtest/gtest.h>

#include "command_program.h"

namespace {

using Where = CommandProgram::Where;

void ExpectProgram(const wchar_t* command, Where where, const wchar_t* program)
{
    const CommandProgram resolved = ProgramOfCommand(command, L"pm.msi");
    EXPECT_EQ(resolved.where, where) << command;
    EXPECT_EQ(resolved.program, program) << command;
}

TEST(CommandProgram, ABareNameIsTheSystemDirectorysProgram)
{
    ExpectProgram(L"msiexec /i pm.msi /qn", Where::SystemDirectory, L"msiexec.exe");
    ExpectProgram(L"msiexec.exe /i pm.msi", Where::SystemDirectory, L"msiexec.exe");
    ExpectProgram(L"\"msiexec\" /i pm.msi", Where::SystemDirectory, L"msiexec.exe");
    ExpectProgram(L"  msiexec\t/i pm.msi", Where::SystemDirectory, L"msiexec.exe");
    ExpectProgram(L"setup.cmd", Where::SystemDirectory, L"setup.cmd");
}

TEST(CommandProgram, AFullPathIsThatProgramWhenNothingNeedsGuessing)
{
    ExpectProgram(L"C:\\Windows\\System32\\msiexec.exe /i pm.msi", Where::FullPath,
                  L"C:\\Windows\\System32\\msiexec.exe");
    ExpectProgram(L"\"C:\\Program Files\\PM\\setup.exe\" /S", Where::FullPath, L"C:\\Program Files\\PM\\setup.exe");
    ExpectProgram(L"\"C:\\Program Files\\PM\\setup\" /S", Where::FullPath, L"C:\\Program Files\\PM\\setup.exe");
    ExpectProgram(L"\"D:/pm/v1.2/setup\"", Where::FullPath, L"D:/pm/v1.2/setup.exe");
    ExpectProgram(L"\\\\server\\share\\SETUP.EXE /S", Where::FullPath, L"\\\\server\\share\\SETUP.EXE");
}

TEST(CommandProgram, TheDownloadedPackageIsItself)
{
    ExpectProgram(L"pm.msi /qn", Where::Package, L"pm.msi");
    ExpectProgram(L"\"PM.MSI\"", Where::Package, L"PM.MSI");
}

TEST(CommandProgram, WhatTheWorkingFolderOrAGuessWouldDecideIsRefused)
{
    for (const wchar_t* command :
         {L"tools\\setup.exe /S", L".\\msiexec.exe /i pm.msi", L"..\\setup.exe", L"tools/setup.exe",
          L"C:setup.exe", L"\\setup.exe", L"\"tools\\setup.exe\" /S", L"C:\\pm tools\\setup.exe /S",
          L"C:\\Program Files\\PM\\setup.exe /S", L"C:\\tools\\setup /S", L"\\\\\\setup.exe", L"", L"   ",
          L"\"\" /i pm.msi", L"C:\\pm\"tools\\setup.exe /S", L"pm\"x.msi"})
        ExpectProgram(command, Where::Refused, L"");
}

TEST(CommandProgram, NoRestartReachesWindowsInstallerAlone)
{
    const auto suppressed = [](const wchar_t* command) { return WithRestartSuppressed(command, L"pm.msi"); };
    EXPECT_EQ(suppressed(L"msiexec /i pm.msi /qn"), L"msiexec /i pm.msi /qn REBOOT=ReallySuppress");
    EXPECT_EQ(suppressed(L"\"MSIEXEC.EXE\" /i pm.msi"), L"\"MSIEXEC.EXE\" /i pm.msi REBOOT=ReallySuppress");
    // The command's own choice stands, in any case of the name.
    EXPECT_EQ(suppressed(L"msiexec /i pm.msi REBOOT=Force"), L"msiexec /i pm.msi REBOOT=Force");
    EXPECT_EQ(suppressed(L"msiexec /i pm.msi\treboot=\"\""), L"msiexec /i pm.msi\treboot=\"\"");
    EXPECT_EQ(suppressed(L"msiexec /i pm.msi NOREBOOT=1"), L"msiexec /i pm.msi NOREBOOT=1 REBOOT=ReallySuppress");
    // Other programs would not know the property.
    EXPECT_EQ(suppressed(L"setup.exe /S"), L"setup.exe /S");
    EXPECT_EQ(suppressed(L"pm.msi /qn"), L"pm.msi /qn");
    EXPECT_EQ(suppressed(L"C:\\Windows\\System32\\msiexec.exe /i pm.msi"),
              L"C:\\Windows\\System32\\msiexec.exe /i pm.msi");
}

// What a build with pinned publishers runs: msiexec installing the signed
// package, nothing that names another program or file.
TEST(CommandProgram, PinnedBuildsRunOnlyMsiexecInstallingThePackage)
{
    for (const wchar_t* command :
         {L"msiexec /i pm.msi", L"MSIEXEC.EXE /package \"PM.msi\" /qn /norestart REBOOT=ReallySuppress",
          L"msiexec -i pm.msi /qb!- INSTALLDIR=\"C:\\Program Files\\PM\" SERVER=pm.test:443"})
        EXPECT_TRUE(InstallsOnlyThePackage(command, L"pm.msi")) << command;
    for (const wchar_t* command :
         {L"cmd.exe /c echo pwned> C:\\x.txt & rem pm.msi", L"pm.msi /qn", L"C:\\Windows\\System32\\msiexec.exe /i pm.msi",
          L"msiexec /i other.msi", L"msiexec /x pm.msi", L"msiexec /i pm.msi /l*v C:\\log.txt", L"msiexec /i pm.msi /l*v+ INSTALLDIR=x",
          L"msiexec /i pm.msi TRANSFORMS=evil.mst", L"msiexec /i pm.msi patch=evil.msp", L"msiexec /i pm.msi & calc",
          L"msiexec /i pm.msi /i other.msi", L"msiexec /i", L"msiexec /update pm.msi"})
        EXPECT_FALSE(InstallsOnlyThePackage(command, L"pm.msi")) << command;
}

}  // namespace
