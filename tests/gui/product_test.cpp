#include "product_test.h"

#include <windows.h>
#include <msi.h>

#include "executable_directory.h"
#include "service_answer.h"

namespace gui_test {

Route Body(std::string body, int status)
{
    Route route;
    route.status = status;
    route.body = std::move(body);
    return route;
}

std::string ServiceAnswer(const std::string& url, const std::string& command)
{
    return PatchDetailsAnswer(url, command).SerializeAsString();
}

std::string InstallerExitingWith(long exitCode)
{
    return "exit=" + std::to_string(exitCode);
}

Route SlowBody(size_t bytes)
{
    Route route;
    route.body.assign(bytes, 'p');
    route.chunk = 4096;
    route.chunk_delay_ms = 20;
    return route;
}

std::wstring Lines(std::initializer_list<const wchar_t*> lines)
{
    std::wstring text;
    for (const wchar_t* line : lines)
        text += line;
    return text;
}

namespace {

void UninstallSamplePackages()
{
    const struct {
        const char* file;
        const wchar_t* productCode;
    } packages[] = {{"agent.msi", kAgentProduct}, {"patch.msi", kPatchProduct}};
    for (const auto& package : packages) {
        // Usually the package is not installed: starting Windows Installer
        // only to learn that would cost a process start under Wine for each
        // package, before and after every case.
        if (MsiQueryProductStateW(package.productCode) == INSTALLSTATE_UNKNOWN)
            continue;
        const auto path = uidriver::ExecutableDirectory().parent_path() / "packages" / package.file;
        std::wstring command = L"msiexec /x \"" + path.wstring() + L"\" /qn";
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process{};
        if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                              &startup, &process))
            continue;
        ::WaitForSingleObject(process.hProcess, 60000);
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
    }
}

}  // namespace

void RealInstallerTest::SetUp()
{
    ProductTest::SetUp();
    UninstallSamplePackages();
}

void RealInstallerTest::TearDown()
{
    session.reset();
    UninstallSamplePackages();
}

void ProductTest::Launch(const std::wstring& executableName)
{
    session.emplace(executableName);
    session->Start();
}

void ProductTest::PressOk(bool patchManagement)
{
    Dialog().SetCheck(kPatchManagementBox, patchManagement);
    Dialog().Click(kOk);
    // Styles are read straight from the window, while the OK handler may
    // still be running; a round trip through the dialog's thread waits for
    // the rest of the handler (progress face shown, OK disabled).
    ASSERT_TRUE(uidriver::PollUntil([this] { return !Dialog().IsVisible(kAgentBox); }, 10s));
    Dialog().PingRoundTrip();
}

void ProductTest::StartRun(bool patchManagement, const std::wstring& executableName)
{
    Launch(executableName);
    PressOk(patchManagement);
}

void ProductTest::WaitForEnd()
{
    ASSERT_TRUE(Dialog().WaitEnabled(kOk, kRunTimeout)) << "log so far:\n" << testing::PrintToString(Log());
}

bool ProductTest::StatusBecomes(const std::wstring& text, uidriver::Milliseconds timeout)
{
    return Dialog().WaitText(kStatus, [&text](const std::wstring& status) { return status == text; }, timeout);
}

void ProductTest::ExpectFailureEnding() const
{
    EXPECT_TRUE(Dialog().IsEnabled(kOk));
    EXPECT_FALSE(Dialog().IsEnabled(kCancel));
    EXPECT_EQ(Dialog().ProgressPosition(kFileBar), 100);
    EXPECT_EQ(Dialog().ProgressLimits(kFileBar).high, 100);
    EXPECT_EQ(Dialog().ProgressPosition(kTotalBar), 100);
    EXPECT_EQ(Dialog().ProgressLimits(kTotalBar).high, 100);
    EXPECT_EQ(Dialog().Text(kTotalLabel), L"Total progress ( 100% )");
    EXPECT_TRUE(Dialog().IsVisible(kDetailsLog));
    EXPECT_EQ(Dialog().Text(kDetailsLink), L"<a>Show less details</a>");
}

}  // namespace gui_test
