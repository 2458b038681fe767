#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <initializer_list>
#include <optional>
#include <string>

#include "product_session.h"
#include "sample_packages.h"
#include "test_host.h"

namespace gui_test {

using namespace std::chrono_literals;

// Control ids of the product's dialog.
enum ControlId : int {
    kOk = 1,
    kCancel = 2,
    kBanner = 1000,
    kFileBar = 1001,
    kFileLabel = 1002,
    kStatus = 1003,
    kAgentBox = 1004,
    kPatchManagementBox = 1005,
    kDetailsLink = 1006,
    kDetailsLog = 1007,
    kTotalBar = 1008,
    kTotalLabel = 1009,
    kProxyBox = 1011,
    kRefusal = 1023,
};

// The event that keeps copies of the program apart.
inline constexpr wchar_t kInstanceEvent[] = L"Global\\VTADOWNLOADERAPP";
inline constexpr char kAgentPath[] = "/vta/vta-agent-x64.msi";
inline constexpr char kServicePath[] = "/vem-ws/VemSecureHttpServlet";
inline constexpr wchar_t kAgentFile[] = L"vta-agent-x64_manager.msi";
inline constexpr wchar_t kAgentTempFile[] = L"vta-agent-x64_manager.msitemp";
inline constexpr char kPatchPath[] = "/pm/patch.msi";
inline constexpr char kPatchUrl[] = "https://localhost:47443/pm/patch.msi";
inline constexpr uidriver::Milliseconds kRunTimeout = 120s;

// Log lines of the agent's half of a run.
inline constexpr wchar_t kDownloading[] = L"Downloading VTA Agent Installer \r\n";
inline constexpr wchar_t kDownloaded[] = L"Download finished. Beginning VTA Agent installation process.\r\n";
inline constexpr wchar_t kInstalled[] = L"VTA Agent installation finished.\r\n";
inline constexpr wchar_t kAborted[] = L"Download and installation processes aborted.\r\n";

// Log lines of the Patch Management package's download.
inline constexpr wchar_t kPatchDownloading[] = L"Downloading Patch Management Installer. \r\n";
inline constexpr wchar_t kPatchDownloaded[] =
    L"Download finished. Beginning Patch Management installation process.\r\n";

// An answer of the test host with this body.
Route Body(std::string body, int status = 200);

// A serialized successful service answer.
std::string ServiceAnswer(const std::string& url, const std::string& command);

// A body that stands in for a package, for the stand-in installer: it exits
// with this code.
std::string InstallerExitingWith(long exitCode);

// A body sent slowly enough for the user to act during the download.
Route SlowBody(size_t bytes = 2 * 1024 * 1024);

std::wstring Lines(std::initializer_list<const wchar_t*> lines);

// One run of the product against the loopback test host, which is reset for
// every test.
class ProductTest : public ::testing::Test {
protected:
    void SetUp() override { host.Reset(); }

    // Starts a copy under this name and waits for its dialog.
    void Launch(const std::wstring& executableName = kProductExecutableName);
    // Sets the Patch Management box and presses OK; returns once the
    // progress face is up.
    void PressOk(bool patchManagement);
    void StartRun(bool patchManagement, const std::wstring& executableName = kProductExecutableName);
    // The worker's last step enables OK.
    void WaitForEnd();
    bool StatusBecomes(const std::wstring& text, uidriver::Milliseconds timeout = kRunTimeout);

    const uidriver::DialogDriver& Dialog() const { return session->Dialog(); }
    const ScratchDirectory& Files() const { return session->WorkingDirectory(); }
    std::wstring Log() const { return Dialog().Text(kDetailsLog); }
    // Both bars full and the log expanded, as every unsuccessful run ends.
    void ExpectFailureEnding() const;

    TestHost host;
    std::optional<ProductSession> session;
};

// A run with the real Windows Installer: the sample packages are removed
// before and after, so every run installs afresh (an installed product would
// make the installer ask the user what to do).
class RealInstallerTest : public ProductTest {
protected:
    void SetUp() override;
    void TearDown() override;
};

}  // namespace gui_test
