#include "unattended_run.h"

#include <msi.h>

#include <algorithm>

namespace gui_test {
namespace {

struct WindowSearch {
    DWORD processId;
    size_t found;
};

BOOL CALLBACK CountWindowOfProcess(HWND window, LPARAM parameter)
{
    auto* search = reinterpret_cast<WindowSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId)
        ++search->found;
    return TRUE;
}

// The top-level windows the process owns right now, shown or not.
size_t TopLevelWindowsOf(DWORD processId)
{
    WindowSearch search{processId, 0};
    EnumWindows(CountWindowOfProcess, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

bool IsInstalled(const wchar_t* productCode)
{
    return MsiQueryProductStateW(productCode) == INSTALLSTATE_DEFAULT;
}

void UnattendedTest::ServeBothPackages()
{
    host.SetRoute(kAgentPath, Body(SamplePackage("agent.msi")));
    host.SetRoute(kPatchPath, Body(SamplePackage("patch.msi")));
    host.SetRoute(kServicePath, Body(ServiceAnswer(kPatchUrl, "msiexec /i patch.msi /qn")));
}

DWORD UnattendedTest::RunQuietly(const std::wstring& arguments, const std::wstring& executable,
                                 const std::function<void(const ScratchDirectory&)>& plant)
{
    session.emplace(executable);
    if (plant)
        plant(Files());
    session->StartWindowless(arguments);
    size_t windows = 0;
    std::optional<DWORD> exitCode;
    const auto deadline = std::chrono::steady_clock::now() + kExitTimeout;
    while (!(exitCode = session->WaitForExit(20ms)) && std::chrono::steady_clock::now() < deadline)
        windows = std::max(windows, TopLevelWindowsOf(session->ProcessId()));
    EXPECT_EQ(windows, 0u) << "the program showed a window";
    EXPECT_TRUE(exitCode.has_value()) << "the program did not end";
    return exitCode.value_or(0xDEADu);
}

}  // namespace gui_test
