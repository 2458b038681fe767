// A downloaded package is ours from its first byte to its installer's end:
// the installer runs what was received or nothing, and, when the build pins
// publishers, only what one of them signed.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <thread>

#include "exit_codes.h"
#include "install_sequence_run.h"
#include "log_file.h"
#include "polling.h"
#include "sample_packages.h"
#include "temp_download_file.h"
#include "unix_shell.h"

namespace {

using namespace install_test;

constexpr wchar_t kAgentFile[] = L"vta-agent-x64_sT1.msi";
constexpr wchar_t kAgentRan[] = L"vta-agent-x64_sT1.msi.ran";
constexpr wchar_t kChanged[] = L"The package changed on disk before its installer started";

// The events of an agent download refused after its move into place.
Events AgentRefused(const std::wstring& status, const std::wstring& logLine)
{
    return Joined({{L"log: Downloading VTA Agent Installer \r\n", L"status: Downloading VTA Agent Installer",
                    L"Cancel disabled"},
                   FailureEvents(status, logLine)});
}

bool IsPatchPackage(const std::wstring& name)
{
    return name.size() >= 6 && name.compare(name.size() - 6, 6, L"pm.msi") == 0;
}

// Another process writing into the Patch Management package between its
// move into place and its hold.
HeldPackage WrittenOverFirst(const std::wstring& name, const FileIdentity& written)
{
    if (IsPatchPackage(name))
        std::ofstream(std::filesystem::path(name), std::ios::binary | std::ios::trunc) << "exit=66";
    return HeldPackage::Open(name, written);
}

// Another process putting a file of its own with the very same bytes at the
// Patch Management package's name then, as a hard link it keeps a second
// name of: the digest alone would accept it, and the installer would later
// open what that process can change.
HeldPackage SameBytesLinkedInFirst(const std::wstring& name, const FileIdentity& written)
{
    if (IsPatchPackage(name)) {
        const std::filesystem::path package(name);
        const std::filesystem::path own = package.parent_path() / "attacker.msi";
        std::filesystem::copy_file(package, own);
        std::filesystem::rename(package, package.parent_path() / "moved-away.msi");
        ::CreateHardLinkW(package.c_str(), own.c_str(), nullptr);
    }
    return HeldPackage::Open(name, written);
}

// Another process opening the agent package for writing then, and keeping it.
HANDLE g_otherWriter = INVALID_HANDLE_VALUE;
HeldPackage KeptOpenForWritingFirst(const std::wstring& name, const FileIdentity& written)
{
    g_otherWriter = ::CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    return HeldPackage::Open(name, written);
}

// The working folder reached through a folder link (a junction on
// Windows), which another process points at a folder of its own once the
// Patch Management package is held: a package of its at the same name.
std::filesystem::path g_linkFolder;
HeldPackage LinkRepointedOnceHeld(const std::wstring& name, const FileIdentity& written)
{
    HeldPackage held = HeldPackage::Open(name, written);
    if (IsPatchPackage(name)) {
        EXPECT_TRUE(gui_test::RunInUnixShell(g_linkFolder, L"ln -sfn attacker work"));
    }
    return held;
}

// The checks of a file just created find a second name linked to it.
BOOL WINAPI LinkedTwice(HANDLE file, LPBY_HANDLE_FILE_INFORMATION information)
{
    const BOOL answered = ::GetFileInformationByHandle(file, information);
    information->nNumberOfLinks = 2;
    return answered;
}

class PackageHold : public InstallSequenceRun {
protected:
    bool Noted(const std::wstring& text) const
    {
        return std::any_of(recorder.notes.begin(), recorder.notes.end(),
                           [&text](const std::wstring& note) { return note.find(text) != std::wstring::npos; });
    }
};

TEST_F(PackageHold, APackageChangedBeforeItIsHeldIsNotRunAndIsLeftAsItIs)
{
    ServePatchManagement();
    host.SetRoute(kPatchPath, Body("exit=0"));
    holdPackage = &WrittenOverFirst;
    const RunResult result = Run();

    EXPECT_EQ(PatchManagementEvents(),
              Joined({{L"Cancel disabled"}, FailureEvents(L"Error downloading Patch Management Installer",
                                                          L"Error downloading Patch Management Installer.\r\n")}));
    EXPECT_EQ(result.exitCode, exit_codes::kPackageChanged);
    EXPECT_TRUE(Noted(kChanged));
    EXPECT_FALSE(directory.Exists(L"pm.msi.ran"));
    EXPECT_EQ(directory.Read(L"pm.msi"), "exit=66");
}

TEST_F(PackageHold, AnotherFileWithTheSameBytesAtTheNameIsNotRun)
{
    ServePatchManagement();
    host.SetRoute(kPatchPath, Body("exit=0"));
    holdPackage = &SameBytesLinkedInFirst;
    const RunResult result = Run();

    EXPECT_EQ(result.exitCode, exit_codes::kPackageChanged);
    EXPECT_TRUE(Noted(kChanged));
    EXPECT_FALSE(directory.Exists(L"pm.msi.ran"));
    EXPECT_EQ(directory.Read(L"attacker.msi"), "exit=0");
}

TEST_F(PackageHold, APackageSomebodyElseHoldsForWritingIsNotRun)
{
    choices.patchManagement = false;
    holdPackage = &KeptOpenForWritingFirst;
    const RunResult result = Run();
    ASSERT_NE(g_otherWriter, INVALID_HANDLE_VALUE);
    ::CloseHandle(g_otherWriter);

    EXPECT_EQ(recorder.events,
              AgentRefused(L"Error downloading VTA Agent Installer", L"Error downloading VTA Agent Installer \r\n"));
    EXPECT_EQ(result.exitCode, exit_codes::kPackageChanged);
    EXPECT_TRUE(Noted(L"The package could not be held for its installer: 32 "));
    EXPECT_FALSE(directory.Exists(kAgentRan));
}

TEST_F(PackageHold, TheInstallerOpensTheHeldFileWhateverAFolderLinkOnItsPathLeadsToLater)
{
    std::filesystem::create_directory(directory.PathOf(L"own"));
    std::filesystem::create_directory(directory.PathOf(L"attacker"));
    directory.Write(L"attacker/pm.msi", "exit=66");
    ASSERT_TRUE(gui_test::RunInUnixShell(directory.Path(), L"ln -s own work"));
    ::SetCurrentDirectoryW(directory.PathOf(L"work").c_str());
    g_linkFolder = directory.Path();
    ServePatchManagement();
    host.SetRoute(kPatchPath, Body("exit=0"));
    holdPackage = &LinkRepointedOnceHeld;
    const RunResult result = Run();
    ::SetCurrentDirectoryW(directory.Path().c_str());
    EXPECT_TRUE(gui_test::RunInUnixShell(directory.Path(), L"rm -f work"));

    EXPECT_EQ(result.exitCode, exit_codes::kSuccess);
    EXPECT_TRUE(directory.Exists(L"own/pm.msi.ran"));
    EXPECT_FALSE(directory.Exists(L"attacker/pm.msi.ran"));
}

TEST_F(PackageHold, AFileThatFailsItsChecksOnceCreatedIsDeleted)
{
    g_createdFileInformation = &LinkedTwice;
    const bool logOpened = LogFile(L"run.log").IsOpen();
    const bool packageOpened = TempDownloadFile(L"pm.msi.tmp").IsOpen();
    g_createdFileInformation = &::GetFileInformationByHandle;

    EXPECT_FALSE(logOpened);
    EXPECT_FALSE(packageOpened);
    EXPECT_FALSE(directory.Exists(L"run.log"));
    EXPECT_FALSE(directory.Exists(L"pm.msi.tmp"));
}

// What another process of the user gets while the installer runs, and after.
struct Attempts {
    DWORD write = 0;
    DWORD replace = 0;
    DWORD remove = 0;
    bool readable = false;
};

DWORD ErrorOf(BOOL succeeded)
{
    return succeeded ? ERROR_SUCCESS : ::GetLastError();
}

Attempts TryToChange(const gui_test::ScratchDirectory& directory)
{
    const std::wstring package = directory.PathOf(kAgentFile).wstring();
    Attempts attempts;
    const HANDLE writer = ::CreateFileW(package.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    attempts.write = ErrorOf(writer != INVALID_HANDLE_VALUE);
    if (writer != INVALID_HANDLE_VALUE)
        ::CloseHandle(writer);
    directory.Write(L"decoy.msi", "exit=66");
    attempts.replace =
        ErrorOf(::MoveFileExW(directory.PathOf(L"decoy.msi").c_str(), package.c_str(), MOVEFILE_REPLACE_EXISTING));
    attempts.remove = ErrorOf(::DeleteFileW(package.c_str()));
    const HANDLE reader = ::CreateFileW(package.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
    attempts.readable = reader != INVALID_HANDLE_VALUE;
    if (attempts.readable)
        ::CloseHandle(reader);
    return attempts;
}

TEST_F(PackageHold, WhileItsInstallerRunsNobodyElseCanChangeThePackageButEveryoneCanReadIt)
{
    choices.patchManagement = false;
    host.SetRoute(kAgentPath, Body("exit=0 wait=1500"));
    Attempts during;
    std::thread other([this, &during] {
        if (uidriver::PollUntil([this] { return directory.Exists(kAgentRan); }, 30s))
            during = TryToChange(directory);
    });
    const RunResult result = Run();
    other.join();

    EXPECT_EQ(result.exitCode, exit_codes::kSuccess);
    EXPECT_EQ(during.write, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    EXPECT_NE(during.replace, static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_NE(during.remove, static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_TRUE(during.readable);
    EXPECT_EQ(directory.Read(kAgentFile), "exit=0 wait=1500");
    // The run is over: the package stays, and is nobody's any more.
    const Attempts after = TryToChange(directory);
    EXPECT_EQ(after.write, static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(after.replace, static_cast<DWORD>(ERROR_SUCCESS));
}

// A build that pins the test publisher and the same publisher under a root
// nobody trusts.
class PinnedPublishers : public PackageHold {
protected:
    void SetUp() override
    {
        PackageHold::SetUp();
        choices.packageSigners = {gui_test::SignerThumbprint("publisher"),
                                  gui_test::SignerThumbprint("untrusted-publisher")};
        choices.patchManagement = false;
    }

    // A whole run: the agent signed by the pinned publisher, then this
    // Patch Management package, installed by msiexec unless another command is given.
    RunResult RunWithPatchManagement(const char* patchPackage, const std::string& command = "msiexec /i pm.msi /qn")
    {
        choices.patchManagement = true;
        host.SetRoute(kAgentPath, Body(gui_test::SamplePackage("agent-publisher.msi")));
        ServePatchManagement(kPatchUrl, command);
        host.SetRoute(kPatchPath, Body(gui_test::SamplePackage(patchPackage)));
        return Run();
    }
};

TEST_F(PinnedPublishers, PackagesSignedByAPinnedPublisherRun)
{
    const RunResult result = RunWithPatchManagement("patch-publisher.msi");

    EXPECT_EQ(result.exitCode, exit_codes::kSuccess) << testing::PrintToString(recorder.notes);
    EXPECT_TRUE(directory.Exists(kAgentRan));
    EXPECT_TRUE(directory.Exists(L"pm.msi.ran"));
    EXPECT_TRUE(Noted(L"The package is signed by VTA Test Publisher (SHA-256 "));
}

TEST_F(PinnedPublishers, EveryOtherPackageIsRefusedAndKept)
{
    struct Refused {
        const char* package;
        const wchar_t* finding;
    };
    for (const Refused& refused : {Refused{"agent.msi", L"The signature does not verify: 0x800B0100"},
                                   Refused{"agent-stranger.msi", L"which is not a pinned publisher"},
                                   Refused{"agent-untrusted-publisher.msi", L"its chain is refused: 0x800B0109"}}) {
        recorder.events.clear();
        recorder.notes.clear();
        const std::string body = gui_test::SamplePackage(refused.package);
        host.SetRoute(kAgentPath, Body(body));
        const RunResult result = Run();

        EXPECT_EQ(recorder.events, AgentRefused(L"The VTA Agent package is not signed by its publisher",
                                                L"The VTA Agent package is not signed by its publisher.\r\n"))
            << refused.package;
        EXPECT_EQ(result.exitCode, exit_codes::kPackageNotSigned) << refused.package;
        EXPECT_TRUE(Noted(refused.finding)) << refused.package;
        EXPECT_FALSE(directory.Exists(kAgentRan)) << refused.package;
        EXPECT_EQ(directory.Read(kAgentFile), body) << refused.package;
    }
}

// A signed package is all the build vouches for: a command that would run
// any other program is refused before anything starts.
TEST_F(PinnedPublishers, OnlyMsiexecInstallingTheSignedPackageRuns)
{
    const RunResult result = RunWithPatchManagement("patch-publisher.msi", StandInCommand("pm.msi"));

    EXPECT_EQ(result.exitCode, exit_codes::kProgramRefused);
    EXPECT_TRUE(Noted(L"The install command is refused: this build runs only the system's msiexec"));
    EXPECT_FALSE(directory.Exists(L"pm.msi.ran"));
}

TEST_F(PinnedPublishers, AnUnsignedPatchManagementPackageIsRefusedWithItsOwnTexts)
{
    const RunResult result = RunWithPatchManagement("patch.msi");

    EXPECT_EQ(PatchManagementEvents(),
              Joined({{L"Cancel disabled"},
                      FailureEvents(L"The Patch Management package is not signed by its publisher",
                                    L"The Patch Management package is not signed by its publisher.\r\n")}));
    EXPECT_EQ(result.exitCode, exit_codes::kPackageNotSigned);
    EXPECT_FALSE(directory.Exists(L"pm.msi.ran"));
}

}  // namespace
