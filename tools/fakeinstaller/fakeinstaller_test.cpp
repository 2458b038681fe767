// Runs the real fakeinstaller.exe the ways the product starts installers:
// through the shell's quoted "%1" and from a web-service install command.
#include "child_process.h"
#include "executable_directory.h"
#include "text_encoding.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

namespace fs = std::filesystem;
using uidriver::Quoted;

constexpr uidriver::Milliseconds kInstallerTimeout{30000};

class FakeInstallerTest : public testing::Test {
protected:
    void SetUp() override
    {
        directory_ = fs::temp_directory_path() / ("fakeinstaller test " + std::to_string(GetCurrentProcessId()));
        fs::remove_all(directory_);
        fs::create_directories(directory_);
    }

    void TearDown() override { fs::remove_all(directory_); }

    fs::path Package(const std::string& name, const std::string& content) const
    {
        const fs::path path = directory_ / name;
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }

    // The installer's exit code for this argument tail.
    DWORD Run(const std::wstring& arguments) const
    {
        const auto exitCode =
            uidriver::ChildProcess::Start(Installer(), arguments, directory_).WaitForExit(kInstallerTimeout);
        EXPECT_TRUE(exitCode) << "fakeinstaller.exe did not end";
        return exitCode.value_or(0);
    }

    static std::string Contents(const fs::path& path)
    {
        std::ifstream file(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), {});
    }

    static fs::path RunRecord(const fs::path& package) { return fs::path(package) += ".ran"; }

    static fs::path Installer() { return uidriver::ExecutableDirectory() / "fakeinstaller.exe"; }

    fs::path directory_;
};

TEST_F(FakeInstallerTest, ExitCodeComesFromThePackageAsA32BitPattern)
{
    EXPECT_EQ(Run(Quoted(Package("fails.msi", "exit=1603\r\n"))), 1603u);
    EXPECT_EQ(Run(Quoted(Package("negative.msi", "exit=-1"))), 0xFFFFFFFFu);
    EXPECT_EQ(Run(Quoted(Package("large.msi", "exit=3221225477"))), 0xC0000005u);
    EXPECT_EQ(Run(Quoted(Package("lowest.msi", "exit=-2147483648"))), 0x80000000u);
}

TEST_F(FakeInstallerTest, AnythingButAnExitDirectiveSucceeds)
{
    EXPECT_EQ(Run(Quoted(Package("plain.msi", "MSI package bytes"))), 0u);
    EXPECT_EQ(Run(Quoted(Package("empty.msi", ""))), 0u);
    EXPECT_EQ(Run(Quoted(Package("late.msi", " exit=5"))), 0u);
    EXPECT_EQ(Run(Quoted(Package("toolarge.msi", "exit=4294967296"))), 0u);
}

TEST_F(FakeInstallerTest, AWaitDirectiveKeepsItRunningFirst)
{
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(Run(Quoted(Package("slow.msi", "exit=4 wait=400"))), 4u);
    EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(400));

    // ... which a file it awaits ends early.
    Package("go", "");
    const auto awaiting = std::chrono::steady_clock::now();
    EXPECT_EQ(Run(Quoted(Package("awaits.msi", "exit=5 wait=60000 until=go"))), 5u);
    EXPECT_LT(std::chrono::steady_clock::now() - awaiting, std::chrono::seconds(20));
}

TEST_F(FakeInstallerTest, MissingPackageFailsAsTheSystemInstallerWould)
{
    EXPECT_EQ(Run(Quoted(directory_ / "absent.msi")), static_cast<DWORD>(ERROR_INSTALL_PACKAGE_OPEN_FAILED));
}

TEST_F(FakeInstallerTest, PicksTheMsiArgumentOfAnInstallCommand)
{
    const fs::path package = Package("patch setup.MSI", "exit=7");
    const fs::path decoy = Package("trailing", "exit=9");
    EXPECT_EQ(Run(L"/i " + Quoted(package) + L" /qn " + Quoted(decoy)), 7u);
    EXPECT_TRUE(fs::exists(RunRecord(package)));
    EXPECT_FALSE(fs::exists(RunRecord(decoy)));
}

TEST_F(FakeInstallerTest, WithoutAnMsiArgumentTheLastOneIsThePackage)
{
    const fs::path package = Package("package.bin", "exit=3");
    EXPECT_EQ(Run(L"/quiet " + Quoted(package)), 3u);
}

TEST_F(FakeInstallerTest, EveryStartAppendsItsCommandLine)
{
    const fs::path package = Package("agent.msi", "exit=0");
    const std::wstring viaShell = Quoted(package);
    const std::wstring viaInstallCommand = L"/i " + Quoted(package) + L" /qn";
    Run(viaShell);
    Run(viaInstallCommand);
    const std::wstring installer = Quoted(Installer());
    EXPECT_EQ(Contents(RunRecord(package)),
              uidriver::ToUtf8(installer + L" " + viaShell + L"\n" + installer + L" " + viaInstallCommand + L"\n"));
}

}  // namespace
