#include <gtest/gtest.h>

#include "outcome_messages.h"

namespace {

TEST(InstallerMessage, SortsExitCodesIntoFinishedCancelledAndError)
{
    EXPECT_EQ(InstallerMessage(PackageKind::Agent, 0).line, L"VTA Agent installation finished.");
    EXPECT_EQ(InstallerMessage(PackageKind::PatchManagement, 1602).line,
              L"Patch Management installation cancelled by user.");

    const OutcomeMessage error = InstallerMessage(PackageKind::Agent, 1603);
    EXPECT_EQ(error.status, L"An error occured while installing VTA Agent");
    EXPECT_EQ(error.line, L"An error occured while installing VTA Agent ( 1603 ).");

    // Success with a restart required is still an error here.
    EXPECT_EQ(InstallerMessage(PackageKind::PatchManagement, 3010).line,
              L"An error occured while installing Patch Management ( 3010 ).");
    EXPECT_EQ(InstallerMessage(PackageKind::Agent, 1641).line,
              L"An error occured while installing VTA Agent ( 1641 ).");
}

TEST(InstallerMessage, ShowsCodesWithTheHighBitSetAsNegativeNumbers)
{
    EXPECT_EQ(InstallerMessage(PackageKind::Agent, 0xFFFFFFFFul).line,
              L"An error occured while installing VTA Agent ( -1 ).");
    EXPECT_EQ(InstallerMessage(PackageKind::Agent, 0xC0000135ul).line,
              L"An error occured while installing VTA Agent ( -1073741515 ).");
}

struct DownloadRow {
    DownloadOutcome outcome;
    PackageKind kind;
    const wchar_t* status;
    const wchar_t* line;
};

// Every row of both tables, letter for letter: the spacing at the line's
// end and the full stops differ from row to row, and users (and their
// scripts reading the log) meet exactly these.
TEST(DownloadMessage, EveryRowReadsExactlyAsWritten)
{
    using O = DownloadOutcome;
    constexpr PackageKind A = PackageKind::Agent;
    constexpr PackageKind P = PackageKind::PatchManagement;
    const DownloadRow rows[] = {
        {O::FileCreateFailed, A, L"Error downloading VTA Agent Installer", L"Error downloading VTA Agent Installer "},
        {O::OpenFailed, A, L"Error downloading VTA Agent Installer", L"Error downloading VTA Agent Installer "},
        {O::NotFound, A, L"Error downloading VTA Agent Installer - File not found",
         L"Error downloading VTA Agent Installer - File not found "},
        {O::ServerError, A, L"Error downloading VTA Agent Installer - Internal Server Error",
         L"Error downloading VTA Agent Installer - Internal Server Error "},
        {O::ReadFailed, A, L"Error downloading VTA Agent Installer", L"Error downloading VTA Agent Installer "},
        {O::Cancelled, A, L"VTA Agent download cancelled by user", L"VTA Agent download cancelled by user."},
        {O::RenameFailed, A, L"Error creating VTA Agent Installer local file",
         L"Error creating VTA Agent Installer local file. Please check your available drive space."},
        {O::PublisherRefused, A, L"The VTA Agent package is not signed by its publisher",
         L"The VTA Agent package is not signed by its publisher."},
        {O::Completed, A, L"Download finished. Beginning VTA Agent installation process",
         L"Download finished. Beginning VTA Agent installation process."},
        {O::FileCreateFailed, P, L"Error downloading Patch Management Installer",
         L"Error downloading Patch Management Installer. "},
        {O::OpenFailed, P, L"Error downloading Patch Management Installer",
         L"Error downloading Patch Management Installer."},
        {O::NotFound, P, L"Error downloading Patch Management Installer - File not found",
         L"Error downloading Patch Management Installer - File not found "},
        {O::ServerError, P, L"Error downloading Patch Management Installer - Internal Server Error",
         L"Error downloading Patch Management Installer - Internal Server Error "},
        {O::ReadFailed, P, L"Error downloading Patch Management Installer",
         L"Error downloading Patch Management Installer."},
        {O::Cancelled, P, L"Patch Management download cancelled by user",
         L"Patch Management download cancelled by user."},
        {O::RenameFailed, P, L"Error creating Patch Management Installer local file",
         L"Error creating Patch Management Installer local file. Please check your available drive space."},
        {O::PublisherRefused, P, L"The Patch Management package is not signed by its publisher",
         L"The Patch Management package is not signed by its publisher."},
        {O::Completed, P, L"Download finished. Beginning Patch Management installation process",
         L"Download finished. Beginning Patch Management installation process."},
    };
    for (const DownloadRow& row : rows) {
        const OutcomeMessage message = DownloadMessage(row.kind, row.outcome);
        EXPECT_EQ(message.status, row.status) << testing::PrintToString(std::wstring(row.line));
        EXPECT_EQ(message.line, row.line);
    }
}

TEST(InstallerMessage, EveryClassReadsExactlyAsWrittenForBothPackages)
{
    EXPECT_EQ(InstallerMessage(PackageKind::Agent, 0).status, L"VTA Agent installation finished");
    EXPECT_EQ(InstallerMessage(PackageKind::PatchManagement, 0).status, L"Patch Management installation finished");
    EXPECT_EQ(InstallerMessage(PackageKind::PatchManagement, 0).line, L"Patch Management installation finished.");
    EXPECT_EQ(InstallerMessage(PackageKind::Agent, 1602).status, L"VTA Agent installation cancelled by user");
    EXPECT_EQ(InstallerMessage(PackageKind::Agent, 1602).line, L"VTA Agent installation cancelled by user.");
    EXPECT_EQ(InstallerMessage(PackageKind::PatchManagement, 1602).status,
                 L"Patch Management installation cancelled by user");
    EXPECT_EQ(InstallerMessage(PackageKind::PatchManagement, 1603).status,
                 L"An error occured while installing Patch Management");
    EXPECT_EQ(InstallerMessage(PackageKind::PatchManagement, 2).line,
              L"An error occured while installing Patch Management ( 2 ).");
}

}  // namespace
