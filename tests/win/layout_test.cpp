// A layout made once against the test host, then installs from it with the
// host's listeners closed: what the manifest holds, what is fetched again,
// and every way a layout can be broken.
#include <gtest/gtest.h>

#include <filesystem>

#include "exit_codes.h"
#include "install_sequence_run.h"
#include "layout_manifest.h"
#include "sample_packages.h"

namespace {

using namespace install_test;

constexpr char kAgentX86Path[] = "/vta/vta-agent-x86.msi";

class LayoutRun : public InstallSequenceRun {
protected:
    void SetUp() override
    {
        InstallSequenceRun::SetUp();
        host.SetRoute(kAgentX86Path, Body("exit=0"));
        ServePatchManagement();
        host.SetRoute(kPatchPath, Body("exit=0"));
    }
    // The listeners closed on the way open again for whatever runs next.
    void TearDown() override
    {
        host.Reset();
        InstallSequenceRun::TearDown();
    }

    RunResult MakeLayout()
    {
        choices.layoutFolder = directory.PathOf(L"layout").wstring();
        choices.sourceFolder.clear();
        return Run();
    }
    // Without the download host and the web service.
    RunResult InstallFromLayout()
    {
        host.SetListenerOpen("download", false);
        host.SetListenerOpen("service", false);
        choices.layoutFolder.clear();
        choices.sourceFolder = directory.PathOf(L"layout").wstring();
        return Run();
    }
    std::optional<LayoutManifest> Manifest() const
    {
        const std::string bytes = directory.Read(L"layout/vta-layout.txt");
        return ParseManifest(std::wstring(bytes.begin(), bytes.end()));
    }
    bool Installed(const wchar_t* package) const { return directory.Exists(std::wstring(package) + L".ran"); }
    bool Logged(const std::wstring& line) const
    {
        return std::find(recorder.events.begin(), recorder.events.end(), L"log: " + line + L"\r\n") !=
               recorder.events.end();
    }
};

TEST_F(LayoutRun, ALayoutMadeOnceInstallsWithoutTheNetworkAndIsKeptWhenMadeAgain)
{
    ASSERT_EQ(MakeLayout().exitCode, exit_codes::kSuccess) << testing::PrintToString(recorder.notes);
    const std::optional<LayoutManifest> manifest = Manifest();
    ASSERT_TRUE(manifest);
    ASSERT_EQ(manifest->entries.size(), 3u);
    EXPECT_EQ(manifest->Find(L"agent-x86")->name, L"vta-agent-x86.msi");
    EXPECT_EQ(manifest->Find(L"patch-management")->size, 6u);
    const std::string command = StandInCommand("pm.msi");
    EXPECT_EQ(manifest->installCommand, std::wstring(command.begin(), command.end()));
    EXPECT_FALSE(directory.Exists(L"layout/vta-agent-x64.msi.ran"));
    EXPECT_FALSE(directory.Exists(L"layout/pm.msi.ran"));

    recorder.events.clear();
    ASSERT_EQ(MakeLayout().exitCode, exit_codes::kSuccess);
    for (const char* path : {kAgentPath, kAgentX86Path, kPatchPath})
        EXPECT_EQ(host.RequestCount(path), 1) << path;
    EXPECT_TRUE(Logged(L"vta-agent-x64.msi in the layout is up to date."));
    EXPECT_TRUE(Logged(L"The layout in " + directory.PathOf(L"layout").wstring() + L" is complete: 3 packages."));

    recorder.events.clear();
    EXPECT_EQ(InstallFromLayout().exitCode, exit_codes::kSuccess) << testing::PrintToString(recorder.notes);
    EXPECT_TRUE(Installed(L"vta-agent-x64_sT1.msi"));
    EXPECT_TRUE(Installed(L"pm.msi"));
    EXPECT_EQ(host.RequestCount(kServicePath), 2);
}

// A remake that fails half way leaves a manifest naming what the folder holds.
TEST_F(LayoutRun, ARemakeThatEndsEarlyLeavesTheLayoutUsable)
{
    ASSERT_EQ(MakeLayout().exitCode, exit_codes::kSuccess);
    directory.Write(L"layout/vta-agent-x64.msi", "damaged");
    directory.Write(L"layout/vta-agent-x86.msi", "damaged");
    host.SetRoute(kAgentPath, Body("exit=0 wait=0"));
    host.SetRoute(kAgentX86Path, Body("gone", 404));
    ASSERT_EQ(MakeLayout().exitCode, exit_codes::kHttpStatusBase + 404);

    choices.patchManagement = false;
    EXPECT_EQ(InstallFromLayout().exitCode, exit_codes::kSuccess) << testing::PrintToString(recorder.notes);
    EXPECT_EQ(directory.Read(L"vta-agent-x64_sT1.msi"), "exit=0 wait=0");
}

// How each test breaks the layout, given the test's directory.
struct BrokenLayout {
    const char* name;
    void (*breakIt)(const gui_test::ScratchDirectory& directory);
    uint32_t exitCode;
    const wchar_t* status;
};

class BrokenLayouts : public LayoutRun, public ::testing::WithParamInterface<BrokenLayout> {};

TEST_P(BrokenLayouts, AreRefusedWithTheirCodeAndNothingStarts)
{
    ASSERT_EQ(MakeLayout().exitCode, exit_codes::kSuccess);
    GetParam().breakIt(directory);
    recorder.events.clear();
    EXPECT_EQ(InstallFromLayout().exitCode, GetParam().exitCode);
    EXPECT_NE(std::find(recorder.events.begin(), recorder.events.end(), std::wstring(L"status: ") + GetParam().status),
              recorder.events.end())
        << testing::PrintToString(recorder.events);
    EXPECT_FALSE(Installed(L"vta-agent-x64_sT1.msi"));
    EXPECT_FALSE(Installed(L"pm.msi"));
}

constexpr wchar_t kManifest[] = L"layout/vta-layout.txt";

INSTANTIATE_TEST_SUITE_P(
    , BrokenLayouts,
    ::testing::Values(
        BrokenLayout{"AChangedFile",
                     [](const gui_test::ScratchDirectory& d) { d.Write(L"layout/vta-agent-x64.msi", "exit=66"); },
                     exit_codes::kLayoutFileDiffers,
                     L"The VTA Agent package in the layout is not the one its manifest names"},
        BrokenLayout{"AMissingFile",
                     [](const gui_test::ScratchDirectory& d) {
                         std::filesystem::remove(d.PathOf(L"layout/vta-agent-x64.msi"));
                     },
                     exit_codes::kLayoutFileMissing, L"The VTA Agent package is missing from the layout"},
        BrokenLayout{"AManifestCutShort",
                     [](const gui_test::ScratchDirectory& d) {
                         const std::string text = d.Read(kManifest);
                         d.Write(kManifest, text.substr(0, text.size() - 5));
                     },
                     exit_codes::kLayoutUnreadable, L"The layout cannot be used"},
        BrokenLayout{"AnotherVersionsManifest",
                     [](const gui_test::ScratchDirectory& d) {
                         std::string text = d.Read(kManifest);
                         const size_t version = text.find("version\t") + 8;
                         d.Write(kManifest, text.replace(version, text.find('\r', version) - version, "0.9"));
                     },
                     exit_codes::kLayoutOtherVersion, L"The layout cannot be used"}),
    [](const ::testing::TestParamInfo<BrokenLayout>& info) { return std::string(info.param.name); });

// A build that pins publishers refuses a package in the layout that none
// of them signed, as it refuses such a download.
TEST_F(LayoutRun, AnUnsignedPackageInTheLayoutIsRefusedWhereThePublisherIsPinned)
{
    ASSERT_EQ(MakeLayout().exitCode, exit_codes::kSuccess);
    choices.packageSigners = {gui_test::SignerThumbprint("publisher")};
    EXPECT_EQ(InstallFromLayout().exitCode, exit_codes::kPackageNotSigned);
    EXPECT_FALSE(Installed(L"vta-agent-x64_sT1.msi"));
}

}  // namespace
