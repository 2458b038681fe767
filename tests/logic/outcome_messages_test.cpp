#include <gtest/gtest.h>

#include "outcome_messages.h"

namespace {

TEST(InstallerMessage, SortsExitCodesIntoFinishedCancelledAndError)
{
    EXPECT_EQ(InstallerMessage(PackageKind::Agent, 0).log, L"VTA Agent installation finished.\r\n");
    EXPECT_EQ(InstallerMessage(PackageKind::PatchManagement, 1602).log,
              L"Patch Management installation cancelled by user.\r\n");

    const OutcomeMessage error = InstallerMessage(PackageKind::Agent, 1603);
    EXPECT_STREQ(error.status, L"An error occured while installing VTA Agent");
    EXPECT_EQ(error.log, L"An error occured while installing VTA Agent ( 1603 ).\r\n");

    // Success with a restart required is still an error here.
    EXPECT_EQ(InstallerMessage(PackageKind::PatchManagement, 3010).log,
              L"An error occured while installing Patch Management ( 3010 ).\r\n");
    EXPECT_EQ(InstallerMessage(PackageKind::Agent, 1641).log,
              L"An error occured while installing VTA Agent ( 1641 ).\r\n");
}

TEST(InstallerMessage, ShowsCodesWithTheHighBitSetAsNegativeNumbers)
{
    EXPECT_EQ(InstallerMessage(PackageKind::Agent, 0xFFFFFFFFul).log,
              L"An error occured while installing VTA Agent ( -1 ).\r\n");
    EXPECT_EQ(InstallerMessage(PackageKind::Agent, 0xC0000135ul).log,
              L"An error occured while installing VTA Agent ( -1073741515 ).\r\n");
}

TEST(DownloadMessage, EveryOutcomeHasTextsForBothPackages)
{
    for (auto outcome : {DownloadOutcome::Completed, DownloadOutcome::FileCreateFailed, DownloadOutcome::OpenFailed,
                         DownloadOutcome::NotFound, DownloadOutcome::ServerError, DownloadOutcome::ReadFailed,
                         DownloadOutcome::Cancelled, DownloadOutcome::RenameFailed}) {
        for (auto kind : {PackageKind::Agent, PackageKind::PatchManagement}) {
            const OutcomeMessage message = DownloadMessage(kind, outcome);
            EXPECT_NE(std::wstring(message.status), L"");
            ASSERT_GE(message.log.size(), 2u);
            EXPECT_EQ(message.log.substr(message.log.size() - 2), L"\r\n");
            EXPECT_EQ(message.log.find(L"\r\n"), message.log.size() - 2);
        }
    }
}

}  // namespace
