// The program runs elevated from a folder anybody can write to. What lies
// there, and what the service sends, must never run code or make it damage
// files.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "child_process.h"
#include "executable_directory.h"
#include "msi_open_override.h"
#include "product_test.h"
#include "system_msiexec_stand_in.h"
#include "unattended_run.h"
#include "unix_shell.h"
#include "wine_dll_override.h"

namespace gui_test {
namespace {

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
    std::filesystem::copy_file(SystemMsiexecStandIn::Installer(), Files().PathOf(L"msiexec.exe"));
    session->Start();
    PressOk(true);
    WaitForEnd();

    EXPECT_EQ(Dialog().Text(kStatus), L"Patch Management installation finished");
    EXPECT_FALSE(Files().Exists(L"patch.msi.ran"));
}

using PlantedAssociation = ProductTest;

// Any program of the user can register its own command for .msi packages in
// the user's class registrations, which an elevated process sees merged in;
// Wine ignores that copy, so the shared one is pointed at a recording
// stand-in. Both packages go to the system's msiexec, a stand-in too.
TEST_F(PlantedAssociation, NeitherPackageIsEverOpenedThroughTheMsiAssociation)
{
    const SystemMsiexecStandIn msiexec;
    const ScratchDirectory userPrograms;
    std::filesystem::copy_file(SystemMsiexecStandIn::Installer(), userPrograms.PathOf(L"association.exe"));
    const MsiOpenOverride association(userPrograms.PathOf(L"association.exe"));
    host.SetRoute(kAgentPath, Body(InstallerExitingWith(0)));
    host.SetRoute(kPatchPath, Body(InstallerExitingWith(0)));
    host.SetRoute(kServicePath, Body(ServiceAnswer(kPatchUrl, "msiexec /i patch.msi /qn")));
    StartRun(true);
    WaitForEnd();

    EXPECT_EQ(Dialog().Text(kStatus), L"Patch Management installation finished");
    // Each stand-in records its command line once, beside the package.
    EXPECT_EQ(Files().Read(std::wstring(kAgentFile) + L".ran"),
              "msiexec.exe /i \"" + Files().PathOf(kAgentFile).string() + "\"\n");
    EXPECT_EQ(Files().Read(L"patch.msi.ran"), "msiexec /i \"" + Files().PathOf(L"patch.msi").string() + "\" /qn\n");
}

using PackageNames = ProductTest;

// A character with a look-alike in the ANSI code page (a fullwidth
// backslash) must not become a path separator for some operations and stay
// itself for others: every operation uses one name, or none is made.
TEST_F(PackageNames, ANameTheCodePageCannotWriteLeavesNoStrayFile)
{
    const SystemMsiexecStandIn installer;
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
    const SystemMsiexecStandIn installer;
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
    const SystemMsiexecStandIn installer;
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
        std::filesystem::copy_file(SystemMsiexecStandIn::Installer(), folder.PathOf(L"tools\\setup.exe"));
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
        std::filesystem::copy_file(SystemMsiexecStandIn::Installer(), folder.PathOf(L"pm.exe"));
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

// Links another program of the user plants where the program creates its
// files: nothing outside the working folder may be written, truncated,
// created or deleted through them.
class PlantedLinks : public UnattendedTest {
protected:
    // Files of the user's outside the working folder, in a folder beside it.
    std::filesystem::path Outside(const wchar_t* name) const { return outside_.PathOf(name); }
    // The same, as a link in the working folder names it.
    std::wstring FromWorkingFolder(const wchar_t* name) const
    {
        return L"../" + outside_.Path().filename().wstring() + L"/" + name;
    }

    void PlantSymbolicLink(const ScratchDirectory& folder, const std::wstring& name, const std::wstring& target)
    {
        ASSERT_TRUE(RunInUnixShell(folder.Path(), L"ln -s " + target + L" " + name)) << "no link planted";
        planted_.push_back(folder.PathOf(name));
    }

    // Removed from the Unix side too: Wine deletes a link's target, not the
    // link, and so would the working folder's removal.
    void TearDown() override
    {
        for (const std::filesystem::path& link : planted_)
            EXPECT_TRUE(RunInUnixShell(link.parent_path(), L"rm -f " + link.filename().wstring()));
        UnattendedTest::TearDown();
    }

    static std::string Read(const std::filesystem::path& path)
    {
        std::ifstream file(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), {});
    }

private:
    ScratchDirectory outside_;
    std::vector<std::filesystem::path> planted_;
};

TEST_F(PlantedLinks, AHardLinkAtTheTemporaryNameKeepsItsFile)
{
    const std::filesystem::path outside = Outside(L"precious.txt");
    std::ofstream(outside, std::ios::binary) << "the user's file";
    const auto plant = [&outside](const ScratchDirectory& folder) {
        ASSERT_TRUE(CreateHardLinkW(folder.PathOf(kAgentTempFile).c_str(), outside.c_str(), nullptr));
    };
    host.SetRoute(kAgentPath, Body("missing", 404));
    EXPECT_EQ(RunQuietly(L"/quiet /nopatchmanagement", kProductExecutableName, plant), 20404u);
    EXPECT_EQ(Read(outside), "the user's file");
    EXPECT_FALSE(Files().Exists(kAgentTempFile));

    host.SetRoute(kAgentPath, Body(SamplePackage("agent.msi")));
    EXPECT_EQ(RunQuietly(L"/quiet /nopatchmanagement", kProductExecutableName, plant), 0u);
    EXPECT_EQ(Read(outside), "the user's file");
    EXPECT_EQ(Files().Read(kAgentFile), SamplePackage("agent.msi"));
}

TEST_F(PlantedLinks, ASymbolicLinkAtTheTemporaryNameIsRefused)
{
    const std::filesystem::path outside = Outside(L"precious.txt");
    std::ofstream(outside, std::ios::binary) << "the user's file";
    const auto plant = [this](const ScratchDirectory& folder) {
        PlantSymbolicLink(folder, kAgentTempFile, FromWorkingFolder(L"precious.txt"));
    };
    host.SetRoute(kAgentPath, Body(SamplePackage("agent.msi")));
    EXPECT_EQ(RunQuietly(L"/quiet /nopatchmanagement", kProductExecutableName, plant), 20013u);
    EXPECT_EQ(Read(outside), "the user's file");
    EXPECT_EQ(host.RequestCount(kAgentPath), 0);
}

TEST_F(PlantedLinks, TheLogsNeverWriteThroughALink)
{
    const std::filesystem::path outside = Outside(L"precious.txt");
    std::ofstream(outside, std::ios::binary) << "the user's file";
    ServeBothPackages();
    const auto plant = [&](const ScratchDirectory& folder) {
        ASSERT_TRUE(CreateHardLinkW(folder.PathOf(L"run.log").c_str(), outside.c_str(), nullptr));
        PlantSymbolicLink(folder, L"run.log.agent.log", FromWorkingFolder(L"created.bat"));
    };
    EXPECT_EQ(RunQuietly(L"/quiet /nopatchmanagement /log run.log", kProductExecutableName, plant), 0u);

    EXPECT_EQ(Read(outside), "the user's file");
    EXPECT_NE(LogText().find("Exit code 0"), std::string::npos) << LogText();
    // The agent's log could not be made safely: msiexec writes none.
    EXPECT_FALSE(std::filesystem::exists(Outside(L"created.bat")));
    EXPECT_EQ(LogText().find("/l*v"), std::string::npos) << LogText();
}

}  // namespace
}  // namespace gui_test
