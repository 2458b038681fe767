// The package that runs elevated is the package that was downloaded: no
// other process can swap it on the way, and a build that pins publishers
// runs only what they signed, in every mode.
#include <windows.h>
#include <msi.h>

#include <cstdio>
#include <map>
#include <set>
#include <sstream>
#include <vector>

#include "child_process.h"
#include "executable_directory.h"
#include "system_msiexec_stand_in.h"
#include "product_test.h"

namespace gui_test {
namespace {

constexpr wchar_t kAgentRan[] = L"vta-agent-x64_manager.msi.ran";

// How often each kind of attempt of the swapping process ended with each
// error (0: it succeeded).
using SwapResults = std::map<std::string, std::map<unsigned long, unsigned>>;

SwapResults ParseReport(const std::string& report)
{
    SwapResults results;
    std::istringstream lines(report);
    std::string attempt;
    unsigned long error = 0;
    unsigned count = 0;
    while (lines >> attempt >> error >> count)
        results[attempt][error] = count;
    return results;
}

std::set<unsigned long> Errors(const SwapResults& results, const std::string& attempt)
{
    std::set<unsigned long> errors;
    if (const auto found = results.find(attempt); found != results.end())
        for (const auto& [error, count] : found->second)
            errors.insert(error);
    return errors;
}

std::string Summary(const SwapResults& results)
{
    std::string text;
    for (const auto& [attempt, errors] : results)
        for (const auto& [error, count] : errors)
            text += attempt + " error " + std::to_string(error) + ": " + std::to_string(count) + "\n";
    return text;
}

using PackageSwap = ProductTest;

// From before the download until the installer runs, another process of
// the user tries every few milliseconds to write into the temporary file,
// to write into the package, and to rename its own file over the package;
// the installer runs until that process has made a last round of attempts.
// The only moment it can get in is between the writing handle's close and
// the read-only hold that follows at once; what it does there is refused by
// the digest, and nothing runs.
TEST_F(PackageSwap, NoOtherProcessCanSwapThePackageBeforeItsInstallerHasEnded)
{
    const SystemMsiexecStandIn installer;
    Route slow = Body("exit=0 wait=60000 until=swapper.report" + std::string(300 * 1024, ' '));
    slow.chunk = 4096;
    slow.chunk_delay_ms = 20;
    host.SetRoute(kAgentPath, slow);
    session.emplace();
    const ScratchDirectory& files = Files();
    const std::wstring arguments = uidriver::Quoted(files.PathOf(kAgentTempFile)) + L" " +
                                   uidriver::Quoted(files.PathOf(kAgentFile)) + L" " +
                                   uidriver::Quoted(files.PathOf(L"decoy.msi")) + L" " +
                                   uidriver::Quoted(files.PathOf(L"swapper.report")) + L" " +
                                   uidriver::Quoted(files.PathOf(kAgentRan)) + L" " +
                                   uidriver::Quoted(files.PathOf(L"stop"));
    const auto swapper = uidriver::ChildProcess::Start(uidriver::ExecutableDirectory() / L"package_swapper.exe",
                                                       arguments, files.Path());
    session->Start();
    PressOk(false);
    WaitForEnd();
    files.Write(L"stop", "");
    ASSERT_TRUE(swapper.WaitForExit(30s).has_value());
    const SwapResults results = ParseReport(files.Read(L"swapper.report"));
    std::printf("the swapping process's attempts:\n%s", Summary(results).c_str());

    const std::set<unsigned long> absentOrLocked = {ERROR_FILE_NOT_FOUND, ERROR_SHARING_VIOLATION};
    EXPECT_EQ(Errors(results, "write-temporary"), absentOrLocked);
    const bool gotIn = Errors(results, "write-package").count(ERROR_SUCCESS) ||
                       Errors(results, "replace-package").count(ERROR_SUCCESS);
    if (!gotIn) {
        // Its last round met the package held for the running installer.
        EXPECT_TRUE(Errors(results, "write-package").count(ERROR_SHARING_VIOLATION));
        EXPECT_TRUE(Errors(results, "replace-package").count(ERROR_ACCESS_DENIED) ||
                    Errors(results, "replace-package").count(ERROR_SHARING_VIOLATION));
        EXPECT_EQ(Log(), Lines({kDownloading, kDownloaded, kInstalled}));
        EXPECT_EQ(files.Read(kAgentRan).size() > 0, true);
        EXPECT_EQ(files.Read(kAgentFile), slow.body);
    } else {
        EXPECT_EQ(Log(), Lines({kDownloading, L"Error downloading VTA Agent Installer \r\n"}));
        EXPECT_FALSE(files.Exists(kAgentRan));
    }
}

// The unattended modes of a build that pins the test publisher: what it
// signed is installed, anything else ends the run with 20017 and is kept.
// Every kind of refusal is shown in /quiet; /passive, which takes a few
// seconds a run to close its dialog, shows one.
struct PinnedMode {
    const wchar_t* switches;
    std::vector<const char*> refused;
};

class PinnedUnattended : public RealInstallerTest, public ::testing::WithParamInterface<PinnedMode> {
protected:
    DWORD Run()
    {
        session.emplace(kProductExecutableName, kPinnedProductExecutableName);
        session->StartWindowless(std::wstring(GetParam().switches) + L" /nopatchmanagement /log run.log");
        return session->WaitForExit(kRunTimeout).value_or(0xDEADu);
    }
    std::string RunLog() const { return Files().Read(L"run.log"); }
};

TEST_P(PinnedUnattended, InstallsWhatThePinnedPublisherSigned)
{
    host.SetRoute(kAgentPath, Body(SamplePackage("agent-publisher.msi")));
    EXPECT_EQ(Run(), 0u) << RunLog();
    EXPECT_EQ(MsiQueryProductStateW(kAgentProduct), INSTALLSTATE_DEFAULT);
    EXPECT_NE(RunLog().find("The package is signed by VTA Test Publisher"), std::string::npos) << RunLog();
}

TEST_P(PinnedUnattended, RefusesEveryOtherPackage)
{
    for (const char* package : GetParam().refused) {
        host.SetRoute(kAgentPath, Body(SamplePackage(package)));
        EXPECT_EQ(Run(), 20017u) << package;
        const std::string log = RunLog();
        EXPECT_NE(log.find("The VTA Agent package is not signed by its publisher."), std::string::npos) << log;
        EXPECT_NE(log.find("Exit code 20017"), std::string::npos) << log;
        EXPECT_NE(MsiQueryProductStateW(kAgentProduct), INSTALLSTATE_DEFAULT) << package;
        EXPECT_EQ(Files().Read(kAgentFile), SamplePackage(package)) << package;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Modes, PinnedUnattended,
    ::testing::Values(PinnedMode{L"/quiet", {"agent.msi", "agent-stranger.msi", "agent-untrusted-publisher.msi"}},
                      PinnedMode{L"/passive", {"agent-untrusted-publisher.msi"}}),
    [](const ::testing::TestParamInfo<PinnedMode>& info) {
        return std::wstring(info.param.switches) == L"/quiet" ? "Quiet" : "Passive";
    });

}  // namespace
}  // namespace gui_test
