#include <gtest/gtest.h>

#include "live_dialog.h"

#include <commctrl.h>

#include "resource.h"

namespace {

struct BarState {
    int position;
    int upper;
};

BarState ReadBar(const Cvta_agent_download_managerDlg& dialog, int id)
{
    const CWnd bar = dialog.GetDlgItem(id);
    return {static_cast<int>(bar.SendMessage(PBM_GETPOS)), static_cast<int>(bar.SendMessage(PBM_GETRANGE, FALSE))};
}

// A run of the agent alone, or with Patch Management.
void SetPatchManagement(Cvta_agent_download_managerDlg& dialog, bool ticked)
{
    dialog.m_plan.packages.resize(ticked ? 2 : 1);
}

TEST(ProgressDisplay, QuarterOfTheAgentWithAndWithoutPatchManagement)
{
    WithLiveDialog([](Cvta_agent_download_managerDlg& dialog) {
        SetPatchManagement(dialog, false);
        dialog.UpdateDownloadProgress(1048576, 4194304);
        EXPECT_EQ(ReadBar(dialog, IDC_PROGRESS_FILE).position, 1048576);
        EXPECT_EQ(ReadBar(dialog, IDC_PROGRESS_FILE).upper, 4194304);
        EXPECT_EQ(ReadText(dialog, IDC_FILE_PROGRESS_LABEL), L"1048576 bytes( 25% ) out of 4194304 bytes");
        EXPECT_EQ(ReadBar(dialog, IDC_PROGRESS_TOTAL).position, 125);
        EXPECT_EQ(ReadBar(dialog, IDC_PROGRESS_TOTAL).upper, 500);
        EXPECT_EQ(ReadText(dialog, IDC_TOTAL_PROGRESS_LABEL), L"Total progress ( 25% )");

        dialog.m_progressTotal.SetPos(0);
        SetPatchManagement(dialog, true);
        dialog.UpdateDownloadProgress(1048576, 4194304);
        EXPECT_EQ(ReadBar(dialog, IDC_PROGRESS_TOTAL).position, 125);
        EXPECT_EQ(ReadBar(dialog, IDC_PROGRESS_TOTAL).upper, 1000);
        EXPECT_EQ(ReadText(dialog, IDC_TOTAL_PROGRESS_LABEL), L"Total progress ( 12% )");
    });
}

TEST(ProgressDisplay, SecondFileContinuesInTheUpperHalf)
{
    WithLiveDialog([](Cvta_agent_download_managerDlg& dialog) {
        SetPatchManagement(dialog, true);
        dialog.UpdateDownloadProgress(4000, 4000);  // the agent, reported complete
        EXPECT_EQ(ReadBar(dialog, IDC_PROGRESS_TOTAL).position, 500);

        dialog.UpdateDownloadProgress(300, 3000);
        EXPECT_EQ(ReadBar(dialog, IDC_PROGRESS_FILE).position, 300);
        EXPECT_NE(ReadText(dialog, IDC_FILE_PROGRESS_LABEL).find(L"( 10% )"), std::wstring::npos);
        EXPECT_EQ(ReadBar(dialog, IDC_PROGRESS_TOTAL).position, 550);
        EXPECT_EQ(ReadText(dialog, IDC_TOTAL_PROGRESS_LABEL), L"Total progress ( 55% )");

        dialog.UpdateDownloadProgress(3000, 3000);
        EXPECT_EQ(ReadBar(dialog, IDC_PROGRESS_TOTAL).position, 1000);
        EXPECT_EQ(ReadText(dialog, IDC_TOTAL_PROGRESS_LABEL), L"Total progress ( 100% )");
    });
}

TEST(ProgressDisplay, SecondFileReportedOnlyWhenCompleteFillsTheBar)
{
    WithLiveDialog([](Cvta_agent_download_managerDlg& dialog) {
        SetPatchManagement(dialog, true);
        dialog.UpdateDownloadProgress(4000, 4000);
        dialog.UpdateDownloadProgress(3000, 3000);
        EXPECT_EQ(ReadText(dialog, IDC_FILE_PROGRESS_LABEL), L"3000 bytes( 100% ) out of 3000 bytes");
        EXPECT_EQ(ReadBar(dialog, IDC_PROGRESS_TOTAL).position, 1000);
        EXPECT_EQ(ReadText(dialog, IDC_TOTAL_PROGRESS_LABEL), L"Total progress ( 100% )");
    });
}

TEST(ProgressDisplay, ReportsWithoutAPositiveTotalChangeNothing)
{
    WithLiveDialog([](Cvta_agent_download_managerDlg& dialog) {
        SetPatchManagement(dialog, false);
        dialog.UpdateDownloadProgress(1000, 4000);
        const std::wstring fileLabel = ReadText(dialog, IDC_FILE_PROGRESS_LABEL);
        dialog.UpdateDownloadProgress(2000, 0);
        dialog.UpdateDownloadProgress(2000, -5);
        EXPECT_EQ(ReadBar(dialog, IDC_PROGRESS_FILE).position, 1000);
        EXPECT_EQ(ReadBar(dialog, IDC_PROGRESS_TOTAL).position, 125);
        EXPECT_EQ(ReadText(dialog, IDC_FILE_PROGRESS_LABEL), fileLabel);
    });
}

TEST(ProgressDisplay, FilesOver2GiBAreScaledOntoTheFileBar)
{
    WithLiveDialog([](Cvta_agent_download_managerDlg& dialog) {
        SetPatchManagement(dialog, false);
        const LONGLONG total = 5LL * 1024 * 1024 * 1024;
        dialog.UpdateDownloadProgress(total / 2, total);
        const BarState bar = ReadBar(dialog, IDC_PROGRESS_FILE);
        EXPECT_GT(bar.upper, 0);
        EXPECT_NEAR(static_cast<double>(bar.position) / bar.upper, 0.5, 1e-6);
        EXPECT_EQ(ReadText(dialog, IDC_FILE_PROGRESS_LABEL), L"2684354560 bytes( 50% ) out of 5368709120 bytes");
        EXPECT_EQ(ReadText(dialog, IDC_TOTAL_PROGRESS_LABEL), L"Total progress ( 50% )");
    });
}

TEST(ProgressDisplay, CompleteFillsBothBarsAndKeepsTheFileLabel)
{
    WithLiveDialog([](Cvta_agent_download_managerDlg& dialog) {
        SetPatchManagement(dialog, true);
        dialog.UpdateDownloadProgress(10, 40);
        dialog.SetProgressComplete();
        EXPECT_EQ(ReadBar(dialog, IDC_PROGRESS_FILE).position, 100);
        EXPECT_EQ(ReadBar(dialog, IDC_PROGRESS_FILE).upper, 100);
        EXPECT_EQ(ReadBar(dialog, IDC_PROGRESS_TOTAL).position, 100);
        EXPECT_EQ(ReadBar(dialog, IDC_PROGRESS_TOTAL).upper, 100);
        EXPECT_EQ(ReadText(dialog, IDC_TOTAL_PROGRESS_LABEL), L"Total progress ( 100% )");
        EXPECT_EQ(ReadText(dialog, IDC_FILE_PROGRESS_LABEL), L"10 bytes( 25% ) out of 40 bytes");
    });
}

TEST(DetailsLog, GrowsWhileCollapsedAndScrollsToItsEnd)
{
    WithLiveDialog([](Cvta_agent_download_managerDlg& dialog) {
        const CWnd log = dialog.GetDlgItem(IDC_DETAILS_LOG);
        std::wstring expected;
        for (int i = 0; i < 12; ++i) {
            const std::wstring line = L"line " + std::to_wstring(i) + L" \r\n";
            dialog.AppendLog(line.c_str());
            expected += line;
        }
        EXPECT_FALSE(::IsWindowVisible(log.m_hWnd));
        EXPECT_EQ(log.GetWindowText().str(), expected);
        EXPECT_EQ(dialog.m_strLog.str(), expected);
        EXPECT_GT(log.SendMessage(EM_GETFIRSTVISIBLELINE), 0);
    });
}

TEST(DetailsLog, ShowDetailsExpandsOnceAndLeavesAnExpandedLogAlone)
{
    WithLiveDialog([](Cvta_agent_download_managerDlg& dialog) {
        const CWnd log = dialog.GetDlgItem(IDC_DETAILS_LOG);
        dialog.ShowDetails();
        EXPECT_TRUE(::IsWindowVisible(log.m_hWnd));
        EXPECT_TRUE(dialog.m_bDetailsShown);
        EXPECT_EQ(ReadText(dialog, IDC_DETAILS_LINK), L"<a>Show less details</a>");

        dialog.ShowDetails();
        EXPECT_TRUE(::IsWindowVisible(log.m_hWnd));
        EXPECT_EQ(ReadText(dialog, IDC_DETAILS_LINK), L"<a>Show less details</a>");
    });
}

}  // namespace
