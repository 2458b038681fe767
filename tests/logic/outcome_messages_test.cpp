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

struct DownloadRow {
    DownloadOutcome outcome;
    PackageKind kind;
    const wchar_t* status;
    const wchar_t* log;
};

// Every row of both tables, letter for letter: the spacing before the line
// end and the full stops differ from row to row, and users (and their
// scripts reading the log) meet exactly these.
TEST(DownloadMessage, EveryRowReadsExactlyAsWritten)
{
    using O = DownloadOutcome;
    constexpr PackageKind A = PackageKind::Agent;
    constexpr PackageKind P = PackageKind::PatchManagement;
    const DownloadRow rows[] = {
        {O::FileCreateFailed, A, L"Error downloading VTA Agent Installer", L"Error downloading VTA Agent Installer \r\n"},
        {O::OpenFailed, A, L"Error downloading VTA Agent Installer", L"Error downloading VTA Agent Installer \r\n"},
        {O::NotFound, A, L"Error downloading VTA Agent Installer - File not found",
         L"Error downloading VTA Agent Installer - File not found \r\n"},
        {O::ServerError, A, L"Error downloading VTA Agent Installer - Internal Server Error",
         L"Error downloading VTA Agent Installer - Internal Server Error \r\n"},
        {O::ReadFailed, A, L"Error downloading VTA Agent Installer", L"Error downloading VTA Agent Installer \r\n"},
        {O::Cancelled, A, L"VTA Agent download cancelled by user", L"VTA Agent download cancelled by user.\r\n"},
        {O::RenameFailed, A, L"Error creating VTA Agent Installer local file",
         L"Error creating VTA Agent Installer local file. Please check your available drive space.\r\n"},
        {O::PublisherRefused, A, L"The VTA Agent package is not signed by its publisher",
         L"The VTA Agent package is not signed by its publisher.\r\n"},
        {O::Completed, A, L"Download finished. Beginning VTA Agent installation process",
         L"Download finished. Beginning VTA Agent installation process.\r\n"},
        {O::FileCreateFailed, P, L"Error downloading Patch Management Installer",
         L"Error downloading Patch Management Installer. \r\n"},
        {O::OpenFailed, P, L"Error downloading Patch Management Installer",
         L"Error downloading Patch Management Installer.\r\n"},
        {O::NotFound, P, L"Error downloading Patch Management Installer - File not found",
         L"Error downloading Patch Management Installer - File not found \r\n"},
        {O::ServerError, P, L"Error downloading Patch Management Installer - Internal Server Error",
         L"Error downloading Patch Management Installer - Internal Server Error \r\n"},
        {O::ReadFailed, P, L"Error downloading Patch Management Installer",
         L"Error downloading Patch Management Installer.\r\n"},
        {O::Cancelled, P, L"Patch Management download cancelled by user",
         L"Patch Management download cancelled by user.\r\n"},
        {O::RenameFailed, P, L"Error creating Patch Management Installer local file",
         L"Error creating Patch Management Installer local file. Please check your available drive space.\r\n"},
        {O::PublisherRefused, P, L"The Patch Management package is not signed by its publisher",
         L"The Patch Management package is not signed by its publisher.\r\n"},
        {O::Completed, P, L"Download finished. Beginning Patch Management installation process",
         L"Download finished. Beginning Patch Management installation process.\r\n"},
    };
    for (const DownloadRow& row : rows) {
        const OutcomeMessage message = DownloadMessage(row.kind, row.outcome);
        EXPECT_STREQ(message.status, row.status) << testing::PrintToString(std::wstring(row.log));
        EXPECT_EQ(message.log, row.log);
    }
}

TEST(InstallerMessage, EveryClassReadsExactlyAsWrittenForBothPackages)
{
    EXPECT_STREQ(InstallerMessage(PackageKind::Agent, 0).status, L"VTA Agent installation finished");
    EXPECT_STREQ(InstallerMessage(PackageKind::PatchManagement, 0).status, L"Patch Management installation finished");
    EXPECT_EQ(InstallerMessage(PackageKind::PatchManagement, 0).log, L"Patch Management installation finished.\r\n");
    EXPECT_STREQ(InstallerMessage(PackageKind::Agent, 1602).status, L"VTA Agent installation cancelled by user");
    EXPECT_EQ(InstallerMessage(PackageKind::Agent, 1602).log, L"VTA Agent installation cancelled by user.\r\n");
    EXPECT_STREQ(InstallerMessage(PackageKind::PatchManagement, 1602).status,
                 L"Patch Management installation cancelled by user");
    EXPECT_STREQ(InstallerMessage(PackageKind::PatchManagement, 1603).status,
                 L"An error occured while installing Patch Management");
    EXPECT_EQ(InstallerMessage(PackageKind::PatchManagement, 2).log,
              L"An error occured while installing Patch Management ( 2 ).\r\n");
}

}  // namespace
