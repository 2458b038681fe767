// The status and log texts of download outcomes and installer exit codes.
#include "outcome_messages.h"

#include <cstdint>

namespace {

// Spacing before the line end and the full stops differ from text to text on
// purpose: the lines are used exactly as written here.
struct DownloadTexts {
    DownloadOutcome outcome;
    OutcomeMessage agent;
    OutcomeMessage patchManagement;
};

const DownloadTexts kDownloadTexts[] = {
    {DownloadOutcome::FileCreateFailed,
     {L"Error downloading VTA Agent Installer", L"Error downloading VTA Agent Installer \r\n"},
     {L"Error downloading Patch Management Installer", L"Error downloading Patch Management Installer. \r\n"}},
    {DownloadOutcome::OpenFailed,
     {L"Error downloading VTA Agent Installer", L"Error downloading VTA Agent Installer \r\n"},
     {L"Error downloading Patch Management Installer", L"Error downloading Patch Management Installer.\r\n"}},
    {DownloadOutcome::NotFound,
     {L"Error downloading VTA Agent Installer - File not found",
      L"Error downloading VTA Agent Installer - File not found \r\n"},
     {L"Error downloading Patch Management Installer - File not found",
      L"Error downloading Patch Management Installer - File not found \r\n"}},
    {DownloadOutcome::ServerError,
     {L"Error downloading VTA Agent Installer - Internal Server Error",
      L"Error downloading VTA Agent Installer - Internal Server Error \r\n"},
     {L"Error downloading Patch Management Installer - Internal Server Error",
      L"Error downloading Patch Management Installer - Internal Server Error \r\n"}},
    {DownloadOutcome::ReadFailed,
     {L"Error downloading VTA Agent Installer", L"Error downloading VTA Agent Installer \r\n"},
     {L"Error downloading Patch Management Installer", L"Error downloading Patch Management Installer.\r\n"}},
    {DownloadOutcome::Cancelled,
     {L"VTA Agent download cancelled by user", L"VTA Agent download cancelled by user.\r\n"},
     {L"Patch Management download cancelled by user", L"Patch Management download cancelled by user.\r\n"}},
    {DownloadOutcome::RenameFailed,
     {L"Error creating VTA Agent Installer local file",
      L"Error creating VTA Agent Installer local file. Please check your available drive space.\r\n"},
     {L"Error creating Patch Management Installer local file",
      L"Error creating Patch Management Installer local file. Please check your available drive space.\r\n"}},
    {DownloadOutcome::PublisherRefused,
     {L"The VTA Agent package is not signed by its publisher",
      L"The VTA Agent package is not signed by its publisher.\r\n"},
     {L"The Patch Management package is not signed by its publisher",
      L"The Patch Management package is not signed by its publisher.\r\n"}},
    {DownloadOutcome::Completed,
     {L"Download finished. Beginning VTA Agent installation process",
      L"Download finished. Beginning VTA Agent installation process.\r\n"},
     {L"Download finished. Beginning Patch Management installation process",
      L"Download finished. Beginning Patch Management installation process.\r\n"}},
};

constexpr unsigned long kInstallUserExit = 1602;

}  // namespace

OutcomeMessage DownloadMessage(PackageKind kind, DownloadOutcome outcome)
{
    for (const DownloadTexts& texts : kDownloadTexts) {
        if (texts.outcome == outcome)
            return kind == PackageKind::Agent ? texts.agent : texts.patchManagement;
    }
    return {L"", L""};
}

OutcomeMessage InstallerMessage(PackageKind kind, unsigned long exitCode)
{
    const bool agent = kind == PackageKind::Agent;
    if (exitCode == 0) {
        return agent ? OutcomeMessage{L"VTA Agent installation finished", L"VTA Agent installation finished.\r\n"}
                     : OutcomeMessage{L"Patch Management installation finished",
                                      L"Patch Management installation finished.\r\n"};
    }
    if (exitCode == kInstallUserExit) {
        return agent ? OutcomeMessage{L"VTA Agent installation cancelled by user",
                                      L"VTA Agent installation cancelled by user.\r\n"}
                     : OutcomeMessage{L"Patch Management installation cancelled by user",
                                      L"Patch Management installation cancelled by user.\r\n"};
    }
    // The code is shown as a signed 32-bit number: 0xFFFFFFFF reads -1.
    const std::wstring code = std::to_wstring(static_cast<int32_t>(static_cast<uint32_t>(exitCode)));
    return agent ? OutcomeMessage{L"An error occured while installing VTA Agent",
                                  L"An error occured while installing VTA Agent ( " + code + L" ).\r\n"}
                 : OutcomeMessage{L"An error occured while installing Patch Management",
                                  L"An error occured while installing Patch Management ( " + code + L" ).\r\n"};
}
