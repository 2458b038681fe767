// The dialog's faces and handlers as a user meets them.
#include <windows.h>
#include <sddl.h>

#include "product_test.h"
#include "system_msiexec_stand_in.h"

namespace gui_test {
namespace {

using DialogFaces = ProductTest;

constexpr int kSelectionControls[] = {kAgentBox, kPatchManagementBox, kProxyBox, 1018, 1013, 1019, 1015, 1020, 1016, 1021, 1017};
constexpr int kProgressControls[] = {kFileLabel, kFileBar, kTotalLabel, kTotalBar, kDetailsLink};

TEST_F(DialogFaces, ReadyFaceShowsThePromptAndTheTwoApplications)
{
    Launch();
    const uidriver::DialogDriver& dialog = Dialog();
    EXPECT_EQ(dialog.Caption(), L"VTA Agent Download Manager");
    EXPECT_EQ(dialog.CloseItem(), uidriver::CloseItemState::Enabled);
    EXPECT_TRUE(dialog.IsVisible(kBanner));
    EXPECT_EQ(dialog.Text(kStatus), L"Please select applications to be installed:");
    EXPECT_TRUE(dialog.IsVisible(kStatus));

    EXPECT_TRUE(dialog.IsVisible(kAgentBox));
    EXPECT_FALSE(dialog.IsEnabled(kAgentBox));
    EXPECT_EQ(dialog.CheckState(kAgentBox), BST_CHECKED);
    EXPECT_TRUE(dialog.IsVisible(kPatchManagementBox));
    EXPECT_TRUE(dialog.IsEnabled(kPatchManagementBox));
    EXPECT_EQ(dialog.CheckState(kPatchManagementBox), BST_CHECKED);
    EXPECT_EQ(dialog.CheckState(kProxyBox), BST_UNCHECKED);
    for (int id : {int{kProxyBox}, 1018, 1013, 1019, 1015, 1020, 1016, 1021, 1017})
        EXPECT_FALSE(dialog.IsVisible(id)) << "proxy control " << id;

    for (int id : kProgressControls)
        EXPECT_FALSE(dialog.IsVisible(id)) << "progress control " << id;
    EXPECT_FALSE(dialog.IsVisible(kDetailsLog));
    EXPECT_FALSE(dialog.IsVisible(kRefusal));
    EXPECT_EQ(dialog.Text(kDetailsLink), L"<a>Show more details</a>");
    EXPECT_EQ(dialog.Text(kTotalLabel), L"Total progress ( 0% )");
    EXPECT_EQ(dialog.Text(kFileLabel), L"");
    EXPECT_EQ(dialog.ProgressPosition(kFileBar), 0);
    EXPECT_EQ(dialog.ProgressPosition(kTotalBar), 0);

    EXPECT_TRUE(dialog.IsEnabled(kOk));
    EXPECT_TRUE(dialog.IsEnabled(kCancel));
}

TEST_F(DialogFaces, CancelOrEscapeInTheReadyFaceEndsTheProgram)
{
    Launch();
    Dialog().Click(kCancel);
    EXPECT_TRUE(session->WaitForExit(15s).has_value());

    Launch();
    Dialog().Command(kCancel);  // as Escape or the title bar's Close sends it
    EXPECT_TRUE(session->WaitForExit(15s).has_value());
}

TEST_F(DialogFaces, OkSwitchesToTheProgressFaceAndStartsTheDownload)
{
    host.SetRoute(kAgentPath, SlowBody());
    Launch();
    Dialog().SetCheck(kPatchManagementBox, false);
    Dialog().Click(kOk);
    ASSERT_TRUE(StatusBecomes(L"Downloading VTA Agent Installer", 10s));

    for (int id : kSelectionControls)
        EXPECT_FALSE(Dialog().IsVisible(id)) << "selection control " << id;
    for (int id : kProgressControls)
        EXPECT_TRUE(Dialog().IsVisible(id)) << "progress control " << id;
    EXPECT_FALSE(Dialog().IsVisible(kDetailsLog));
    EXPECT_FALSE(Dialog().IsEnabled(kOk));
    EXPECT_TRUE(Dialog().IsEnabled(kCancel));
    EXPECT_EQ(Dialog().CheckState(kPatchManagementBox), BST_UNCHECKED);
    EXPECT_TRUE(uidriver::PollUntil([this] { return host.RequestCount(kAgentPath) == 1; }, 10s));
}

TEST_F(DialogFaces, DetailsLinkExpandsAndCollapsesTheLog)
{
    host.SetRoute(kAgentPath, SlowBody());
    StartRun(false);
    Dialog().ClickLink(kDetailsLink);
    ASSERT_TRUE(Dialog().WaitText(kDetailsLink, [](const std::wstring& t) { return t == L"<a>Show less details</a>"; }, 5s));
    EXPECT_TRUE(Dialog().IsVisible(kDetailsLog));
    // The worker writes its first line after OK, on its own time.
    EXPECT_TRUE(Dialog().WaitText(kDetailsLog, [](const std::wstring& t) { return t.rfind(kDownloading, 0) == 0; }, 5s))
        << testing::PrintToString(Log());

    Dialog().ClickLink(kDetailsLink);
    ASSERT_TRUE(Dialog().WaitText(kDetailsLink, [](const std::wstring& t) { return t == L"<a>Show more details</a>"; }, 5s));
    EXPECT_FALSE(Dialog().IsVisible(kDetailsLog));
}

TEST_F(DialogFaces, ASecondCopyIsRefusedAndTheFirstGoesOn)
{
    Launch();
    ProductSession second;
    second.Start();
    const uidriver::DialogDriver& refused = second.Dialog();
    EXPECT_EQ(refused.Text(kRefusal), L"Another Instance of VTA Agent Download Manager is already running!");
    EXPECT_TRUE(refused.IsVisible(kRefusal));
    EXPECT_TRUE(refused.IsVisible(kBanner));
    EXPECT_FALSE(refused.IsVisible(kStatus));
    for (int id : kSelectionControls)
        EXPECT_FALSE(refused.IsVisible(id)) << "selection control " << id;
    for (int id : kProgressControls)
        EXPECT_FALSE(refused.IsVisible(id)) << "progress control " << id;
    EXPECT_TRUE(refused.IsEnabled(kOk));
    EXPECT_FALSE(refused.IsEnabled(kCancel));
    EXPECT_EQ(refused.CloseItem(), uidriver::CloseItemState::Grayed);

    // A Cancel command from the keyboard changes nothing here.
    refused.Command(kCancel);
    EXPECT_FALSE(second.WaitForExit(1s).has_value());
    EXPECT_TRUE(refused.IsVisible(kRefusal));

    refused.Click(kOk);
    EXPECT_TRUE(second.WaitForExit(15s).has_value());
    EXPECT_TRUE(session->IsRunning());
    EXPECT_EQ(Dialog().Text(kStatus), L"Please select applications to be installed:");
    EXPECT_TRUE(Dialog().IsEnabled(kOk));
}

// The name is anybody's to create: only an event the Administrators group
// (or SYSTEM) owns, as every elevated copy's is, refuses a copy. One that
// this test process creates with its own default owner, as a standard
// user's process would, or an object of that name that is no event, does
// not.
TEST_F(DialogFaces, OnlyAnInstanceEventOfAnAdministratorRefusesACopy)
{
    const auto launchWith = [this](const uidriver::KernelHandle& object) {
        EXPECT_TRUE(object);
        Launch();
        const bool refused = Dialog().IsVisible(kRefusal);
        Dialog().Click(refused ? kOk : kCancel);
        EXPECT_TRUE(session->WaitForExit(15s).has_value());
        return refused;
    };
    PSECURITY_DESCRIPTOR owned = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(L"O:BAD:P(A;;GA;;;BA)", SDDL_REVISION_1, &owned,
                                                                     nullptr));
    SECURITY_ATTRIBUTES administrators{sizeof(administrators), owned, FALSE};
    EXPECT_TRUE(launchWith(uidriver::KernelHandle(CreateEventW(&administrators, FALSE, FALSE, kInstanceEvent))));
    LocalFree(owned);
    EXPECT_FALSE(launchWith(uidriver::KernelHandle(CreateEventW(nullptr, FALSE, FALSE, kInstanceEvent))));
    EXPECT_FALSE(launchWith(uidriver::KernelHandle(CreateMutexW(nullptr, FALSE, kInstanceEvent))));
}

TEST_F(DialogFaces, ANewCopyStartsNormallyOnceTheFirstHasGone)
{
    Launch();
    Dialog().Click(kCancel);
    ASSERT_TRUE(session->WaitForExit(15s).has_value());

    ProductSession next;
    next.Start();
    EXPECT_FALSE(next.Dialog().IsVisible(kRefusal));
    EXPECT_EQ(next.Dialog().Text(kStatus), L"Please select applications to be installed:");
}

TEST_F(DialogFaces, TheExecutableNameNamesTheAgentPackage)
{
    const SystemMsiexecStandIn installer;
    Route route;
    route.body = InstallerExitingWith(0);
    host.SetRoute(kAgentPath, route);
    struct {
        const wchar_t* executable;
        const wchar_t* package;
    } const cases[] = {{L"setup.exe", L"vta-agent-x64.msi"},
                       {L"vta_agent_download_manager_sABC123.exe", L"vta-agent-x64_sABC123.msi"},
                       {L"vta_agent_download_manager_SABC.exe", L"vta-agent-x64_SABC.msi"}};
    for (const auto& c : cases) {
        StartRun(false, c.executable);
        WaitForEnd();
        EXPECT_EQ(Files().Read(c.package), route.body) << testing::PrintToString(std::wstring(c.executable));
        Dialog().Click(kOk);
        EXPECT_TRUE(session->WaitForExit(15s).has_value());
        session.reset();
    }
}

}  // namespace
}  // namespace gui_test
