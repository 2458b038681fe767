#include <gtest/gtest.h>

#include <climits>

#include "download_text.h"
#include "progress_pacing.h"

namespace {

TEST(ContentLength, ReadsLikeASigned32BitDecimal)
{
    EXPECT_EQ(ParseContentLength(L"2500"), 2500);
    EXPECT_EQ(ParseContentLength(L"  \t+42"), 42);
    EXPECT_EQ(ParseContentLength(L"-7"), -7);
    EXPECT_EQ(ParseContentLength(L"12abc"), 12);
    EXPECT_EQ(ParseContentLength(L"abc"), 0);
    EXPECT_EQ(ParseContentLength(L""), 0);
    EXPECT_EQ(ParseContentLength(L"2147483647"), INT_MAX);
    EXPECT_EQ(ParseContentLength(L"2147483648"), INT_MAX);
    EXPECT_EQ(ParseContentLength(L"99999999999999999999999"), INT_MAX);
    EXPECT_EQ(ParseContentLength(L"-2147483648"), INT_MIN);
    EXPECT_EQ(ParseContentLength(L"-99999999999"), INT_MIN);
}

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

TEST(ProgressPacing, ReportsTheFirstChunkAtOnceThenAtMostEvery100Ms)
{
    ProgressPacing pacing;
    EXPECT_TRUE(pacing.ShouldReport(1000));
    EXPECT_FALSE(pacing.ShouldReport(1050));
    EXPECT_FALSE(pacing.ShouldReport(1099));
    EXPECT_TRUE(pacing.ShouldReport(1100));
    EXPECT_FALSE(pacing.ShouldReport(1150));
}

TEST(PackageUrl, OnlyWebAddressesAreFetched)
{
    for (const wchar_t* url : {L"https://host/pm.msi", L"http://host/pm.msi", L"HTTPS://HOST/PM.MSI", L"Http://h"})
        EXPECT_TRUE(IsWebUrl(url)) << testing::PrintToString(std::wstring(url));
    for (const wchar_t* url : {L"ftp://host/pm.msi", L"file:///C:/pm.msi", L"\\\\server\\share\\pm.msi",
                               L"C:\\temp\\pm.msi", L"pm.msi", L"https:/host/pm.msi", L" https://host/pm.msi",
                               L"https", L""})
        EXPECT_FALSE(IsWebUrl(url)) << testing::PrintToString(std::wstring(url));
}

}  // namespace
