// The package the program asks for follows the bitness of Windows. Each case
// runs on the Windows it names and is skipped on the other: the x64 case in
// the 64-bit prefixes of both builds' suites, the x86 case in the i686
// suite's 32-bit prefix.
#include <cstdlib>
#include <filesystem>

#include "system_msiexec_stand_in.h"
#include "native_windows.h"
#include "product_test.h"

namespace gui_test {
namespace {

constexpr char kX86Path[] = "/vta/vta-agent-x86.msi";
constexpr wchar_t kX86File[] = L"vta-agent-x86_manager.msi";

// The file the sample agent package installs into the 32-bit program files.
std::filesystem::path InstalledAgentPayload()
{
    const wchar_t* programFiles = _wgetenv(L"ProgramFiles");
    return std::filesystem::path(programFiles ? programFiles : L"") / L"VTA Agent" / L"agent.txt";
}

class X64Windows : public ProductTest {
protected:
    void SetUp() override
    {
        if (!NativeWindowsIs64Bit())
            GTEST_SKIP() << "this Windows is 32-bit";
        ProductTest::SetUp();
    }
};

// Skipped before the sample packages are removed, which takes a while.
class X86Windows : public RealInstallerTest {
protected:
    void SetUp() override
    {
        if (NativeWindowsIs64Bit())
            GTEST_SKIP() << "this Windows is 64-bit";
        RealInstallerTest::SetUp();
    }
    void TearDown() override
    {
        if (!IsSkipped())
            RealInstallerTest::TearDown();
    }
};

TEST_F(X64Windows, TheProgramAsksForTheX64Package)
{
    const SystemMsiexecStandIn installer;
    host.SetRoute(kAgentPath, Body(InstallerExitingWith(0)));
    StartRun(false);
    // The i686 program runs under WOW64 and must ask; the x86_64 one need not.
    EXPECT_EQ(session->IsWow64(), kProgramIs32Bit);
    WaitForEnd();

    EXPECT_EQ(Log(), Lines({kDownloading, kDownloaded, kInstalled}));
    EXPECT_EQ(host.RequestCount(kAgentPath), 1);
    EXPECT_EQ(host.RequestCount(kX86Path), 0);
    EXPECT_TRUE(Files().Exists(std::wstring(kAgentFile) + L".ran"));
}

TEST_F(X86Windows, TheProgramAsksForTheX86PackageAndInstallsIt)
{
    ASSERT_FALSE(std::filesystem::exists(InstalledAgentPayload()));
    const std::string package = SamplePackage("agent.msi");
    host.SetRoute(kX86Path, Body(package));
    StartRun(false);
    EXPECT_EQ(session->IsWow64(), false);
    WaitForEnd();

    EXPECT_EQ(Log(), Lines({kDownloading, kDownloaded, kInstalled}));
    EXPECT_EQ(host.RequestCount(kX86Path), 1);
    EXPECT_EQ(host.RequestCount(kAgentPath), 0);
    EXPECT_EQ(Files().Read(kX86File), package);
    EXPECT_TRUE(std::filesystem::exists(InstalledAgentPayload())) << InstalledAgentPayload();
}

}  // namespace
}  // namespace gui_test
