// The program runs elevated from a folder anybody can write to. What lies
// there, and what the service sends, must never run code or make it damage
// files.
#include <filesystem>

#include "child_process.h"
#include "executable_directory.h"
#include "msi_open_override.h"
#include "product_test.h"
#include "unattended_run.h"
#include "wine_dll_override.h"

namespace gui_test {
namespace {

constexpr wchar_t kPatchDownloading[] = L"Downloading Patch Management Installer. \r\n";
constexpr wchar_t kPlantedRecord[] = L"wininet.dll.loaded";

std::filesystem::path BesideTests(const wchar_t* name)
{
    return uidriver::ExecutableDirectory() / name;
}

using PlantedFiles = RealInstallerTest;

TEST_F(PlantedFiles, AWininetDllBesideTheProgramIsNeverLoaded)
{
    const WineNativeDllFirst controlSearch(L"bench_wininet.exe", {L"wininet"});
    const WineNativeDllFirst productSearch(kProductExecutableName, {L"wininet"});
    // The planted DLL works: a program that imports WinINet at start-up loads it.
    {
        ScratchDirectory control;
        std::filesystem::copy_file(BesideTests(L"bench_wininet.exe"), control.PathOf(L"bench_wininet.exe"));
        std::filesystem::copy_file(BesideTests(L"planted_wininet.dll"), control.PathOf(L"wininet.dll"));
        uidriver::ChildProcess::Start(control.PathOf(L"bench_wininet.exe"), L"", control.Path()).WaitForExit(30s);
        ASSERT_TRUE(control.Exists(kPlantedRecord)) << "the planted DLL was not loaded by a static import";
    }

    host.SetRoute(kAgentPath, Body(SamplePackage("agent.msi")));
    session.emplace();
    std::filesystem::copy_file(BesideTests(L"planted_wininet.dll"), Files().PathOf(L"wininet.dll"));
    session->Start();
    PressOk(false);
    WaitForEnd();

    EXPECT_EQ(Log(), Lines({kDownloading, kDownloaded, kInstalled}));
    EXPECT_FALSE(Files().Exists(kPlantedRecord));
}

TEST_F(PlantedFiles, AnMsiexecInTheWorkingFolderNeverRunsForTheInstallCommand)
{
    host.SetRoute(kAgentPath, Body(SamplePackage("agent.msi")));
    host.SetRoute(kPatchPath, Body(SamplePackage("patch.msi")));
    host.SetRoute(kServicePath, Body(ServiceAnswer(kPatchUrl, "msiexec /i patch.msi /qn")));
    session.emplace();
    // The stand-in installer records every start beside the package it was given.
    std::filesystem::copy_file(MsiOpenOverride::DefaultInstaller(), Files().PathOf(L"msiexec.exe"));
    session->Start();
    PressOk(true);
    WaitForEnd();

    EXPECT_EQ(Dialog().Text(kStatus), L"Patch Management installation finished");
    EXPECT_FALSE(Files().Exists(L"patch.msi.ran"));
}

using PackageNames = ProductTest;

// A character with a look-alike in the ANSI code page (a fullwidth
// backslash) must not become a path separator for some operations and stay
// itself for others: every operation uses one name, or none is made.
TEST_F(PackageNames, ANameTheCodePageCannotWriteLeavesNoStrayFile)
{
    const MsiOpenOverride installer;
    host.SetRoute(kAgentPath, Body(InstallerExitingWith(0)));
    session.emplace(L"vta_agent_download_manager_sAB\uFF3CC.exe");
    std::filesystem::create_directory(Files().PathOf(L"vta-agent-x64_sAB"));
    session->Start();
    PressOk(false);
    WaitForEnd();

    EXPECT_EQ(Log(), Lines({kDownloading, L"Error downloading VTA Agent Installer \r\n"}));
    EXPECT_TRUE(std::filesystem::is_empty(Files().PathOf(L"vta-agent-x64_sAB")));
    for (const auto& entry : std::filesystem::directory_iterator(Files().Path()))
        EXPECT_TRUE(entry.path().extension() == L".exe" || entry.is_directory()) << entry.path();
}

TEST_F(PackageNames, AServiceCommandWithoutAPackageNameLeavesTheUsersTempFileAlone)
{
    const MsiOpenOverride installer;
    host.SetRoute(kAgentPath, Body(InstallerExitingWith(0)));
    host.SetRoute(kPatchPath, Body(InstallerExitingWith(0)));
    host.SetRoute(kServicePath, Body(ServiceAnswer(kPatchUrl, "setup.exe /quiet")));
    Launch();
    Files().Write(L"temp", "the user's notes");
    PressOk(true);
    WaitForEnd();

    EXPECT_EQ(Log().substr(Log().rfind(kPatchDownloading)),
              Lines({kPatchDownloading, L"Error creating Patch Management Installer local file. Please check your "
                                        L"available drive space.\r\n"}));
    ExpectFailureEnding();
    EXPECT_EQ(Files().Read(L"temp"), "the user's notes");
    EXPECT_EQ(host.RequestCount(kPatchPath), 0);
}

TEST_F(PackageNames, AServiceURLThatIsNotAWebAddressIsNeverOpened)
{
    const MsiOpenOverride installer;
    host.SetRoute(kAgentPath, Body(InstallerExitingWith(0)));
    host.SetRoute(kServicePath, Body(ServiceAnswer("file:///C:/windows/win.ini", "msiexec /i win.msi /qn")));
    StartRun(true);
    WaitForEnd();

    EXPECT_EQ(Log().substr(Log().rfind(kPatchDownloading)),
              Lines({kPatchDownloading, L"Error downloading Patch Management Installer.\r\n"}));
    ExpectFailureEnding();
    EXPECT_FALSE(Files().Exists(L"win.msi"));
    EXPECT_FALSE(Files().Exists(L"win.msitemp"));
}

// The service's install command must not let files of the working folder
// decide what runs: the stand-in installer, planted where the command's
// program would be searched for or guessed at, records its start beside the
// package it is given.
using PlantedPrograms = UnattendedTest;

TEST_F(PlantedPrograms, AProgramNamedByARelativePathIsNeverStarted)
{
    ServeBothPackages();
    host.SetRoute(kServicePath, Body(ServiceAnswer(kPatchUrl, "tools\\setup.exe /i patch.msi /qn")));
    const auto plantTools = [](const ScratchDirectory& folder) {
        std::filesystem::create_directory(folder.PathOf(L"tools"));
        std::filesystem::copy_file(MsiOpenOverride::DefaultInstaller(), folder.PathOf(L"tools\\setup.exe"));
    };
    EXPECT_EQ(RunQuietly(L"/quiet /log run.log", kProductExecutableName, plantTools), 20018u);

    EXPECT_FALSE(Files().Exists(L"patch.msi.ran"));
    EXPECT_NE(LogText().find("The install command's program is refused"), std::string::npos) << LogText();
}

TEST_F(PlantedPrograms, AnUnquotedPathWithSpacesIsNeverGuessedAt)
{
    ServeBothPackages();
    // The command names "<folder>\\pm tools\\setup.exe" unquoted; process
    // creation would try "<folder>\\pm.exe" first.
    const auto plantPm = [this](const ScratchDirectory& folder) {
        ASSERT_EQ(folder.Path().string().find(' '), std::string::npos);
        const std::string command = folder.PathOf(L"pm tools\\setup.exe").string() + " /i patch.msi /qn";
        host.SetRoute(kServicePath, Body(ServiceAnswer(kPatchUrl, command)));
        std::filesystem::copy_file(MsiOpenOverride::DefaultInstaller(), folder.PathOf(L"pm.exe"));
    };
    EXPECT_EQ(RunQuietly(L"/quiet", kProductExecutableName, plantPm), 20018u);

    EXPECT_FALSE(Files().Exists(L"patch.msi.ran"));
}

TEST_F(PlantedPrograms, APackageNameThatIsNoPlainFileNameIsNeverWritten)
{
    ServeBothPackages();
    const std::filesystem::path escaped = ScratchDirectory().Path().parent_path() / "escaped.msi";
    std::filesystem::remove(escaped);
    for (const char* command : {"msiexec /i ..\\escaped.msi /qn", "msiexec /i NUL.msi /qn", "msiexec /i pm\\pm.msi /qn"}) {
        host.SetRoute(kServicePath, Body(ServiceAnswer(kPatchUrl, command)));
        EXPECT_EQ(RunQuietly(L"/quiet"), 20013u) << command;
        EXPECT_FALSE(std::filesystem::exists(escaped)) << command;
        EXPECT_EQ(host.RequestCount(kPatchPath), 0) << command;
    }
}

}  // namespace
}  // namespace gui_test
