#include <gtest/gtest.h>

#include "package_file_name.h"

namespace {

TEST(PatchInstallerFile, IsTheWordEndingWithTheFirstMsi)
{
    EXPECT_EQ(PatchInstallerFileFromCommand(L"a b c.msi d"), L"c.msi");
    EXPECT_EQ(PatchInstallerFileFromCommand(L"msiexec /i pm.msi /qn"), L"pm.msi");
    EXPECT_EQ(PatchInstallerFileFromCommand(L"msiexec /i first.msi second.msi"), L"first.msi");
    // Quotation marks are not interpreted.
    EXPECT_EQ(PatchInstallerFileFromCommand(L"msiexec /i \"pm.msi\" /qn"), L"\"pm.msi");
    // The text up to ".msi" counts, even inside a longer word.
    EXPECT_EQ(PatchInstallerFileFromCommand(L"run x.msix"), L"x.msi");
}

TEST(PatchInstallerFile, IsUndecidedWithoutMsiOrWithoutASpaceBeforeIt)
{
    EXPECT_FALSE(PatchInstallerFileFromCommand(L"setup.exe /quiet"));
    EXPECT_FALSE(PatchInstallerFileFromCommand(L"msiexec /i PM.MSI"));
    EXPECT_FALSE(PatchInstallerFileFromCommand(L"pm.msi /qn"));
    EXPECT_FALSE(PatchInstallerFileFromCommand(L""));
}

TEST(PatchInstallerFile, OnlyAPlainFileNameNamesTheLocalFile)
{
    for (const wchar_t* name : {L"pm.msi", L"PM v2.msi", L"msi.msi", L"console.msi", L"COM10.msi", L"LPT0.msi",
                                L"nul_.msi", L".msi", L"a..msi"})
        EXPECT_TRUE(IsPlainFileName(name)) << name;
    for (const wchar_t* name :
         {L"", L".", L"..", L"..\\escaped.msi", L"../escaped.msi", L"pm\\pm.msi", L"C:pm.msi", L"pm.msi:stream",
          L"NUL.msi", L"nul", L"Con.msi", L"aux .msi", L"PRN.tar.msi", L"COM1.msi", L"lpt9.msi", L"COM\u00B9.msi",
          L"CONIN$.msi", L"conout$", L"pm.msi.", L"pm.msi ", L"pm?.msi", L"p*m.msi", L"\"pm.msi", L"pm<.msi",
          L"pm|.msi", L"pm\t.msi"})
        EXPECT_FALSE(IsPlainFileName(name)) << name;
}

}  // namespace
