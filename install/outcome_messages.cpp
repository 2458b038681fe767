// The status and details texts of each package: its download's outcomes and
// its installer's exit codes.
#include "outcome_messages.h"

#include <cstdint>
#include <iterator>

namespace {

constexpr unsigned long kInstallUserExit = 1602;

struct DownloadText {
    DownloadOutcome outcome;
    OutcomeMessage message;
};

// Spacing at the line's end and the full stops differ from text to text on
// purpose: the lines are used exactly as written here.
struct PackageTexts {
    PackageKind kind;
    // As in "VTA Agent installation finished".
    const wchar_t* name;
    OutcomeMessage downloadBegan;
    DownloadText downloads[11];
};

const PackageTexts kPackageTexts[] = {
    {PackageKind::Agent,
     L"VTA Agent",
     {L"Downloading VTA Agent Installer", L"Downloading VTA Agent Installer ", true},
     {{DownloadOutcome::FileCreateFailed,
       {L"Error downloading VTA Agent Installer", L"Error downloading VTA Agent Installer "}},
      {DownloadOutcome::OpenFailed, {L"Error downloading VTA Agent Installer", L"Error downloading VTA Agent Installer "}},
      {DownloadOutcome::NotFound,
       {L"Error downloading VTA Agent Installer - File not found",
        L"Error downloading VTA Agent Installer - File not found "}},
      {DownloadOutcome::ServerError,
       {L"Error downloading VTA Agent Installer - Internal Server Error",
        L"Error downloading VTA Agent Installer - Internal Server Error "}},
      {DownloadOutcome::ReadFailed, {L"Error downloading VTA Agent Installer", L"Error downloading VTA Agent Installer "}},
      {DownloadOutcome::Cancelled, {L"VTA Agent download cancelled by user", L"VTA Agent download cancelled by user."}},
      {DownloadOutcome::RenameFailed,
       {L"Error creating VTA Agent Installer local file",
        L"Error creating VTA Agent Installer local file. Please check your available drive space."}},
      {DownloadOutcome::PublisherRefused,
       {L"The VTA Agent package is not signed by its publisher",
        L"The VTA Agent package is not signed by its publisher."}},
      {DownloadOutcome::Completed,
       {L"Download finished. Beginning VTA Agent installation process",
        L"Download finished. Beginning VTA Agent installation process."}},
      {DownloadOutcome::SourceMissing,
       {L"The VTA Agent package is missing from the layout", L"The VTA Agent package is missing from the layout."}},
      {DownloadOutcome::SourceDiffers,
       {L"The VTA Agent package in the layout is not the one its manifest names",
        L"The VTA Agent package in the layout is not the one its manifest names."}}}},
    {PackageKind::PatchManagement,
     L"Patch Management",
     {L"Downloading Patch Management Installer", L"Downloading Patch Management Installer. "},
     {{DownloadOutcome::FileCreateFailed,
       {L"Error downloading Patch Management Installer", L"Error downloading Patch Management Installer. "}},
      {DownloadOutcome::OpenFailed,
       {L"Error downloading Patch Management Installer", L"Error downloading Patch Management Installer."}},
      {DownloadOutcome::NotFound,
       {L"Error downloading Patch Management Installer - File not found",
        L"Error downloading Patch Management Installer - File not found "}},
      {DownloadOutcome::ServerError,
       {L"Error downloading Patch Management Installer - Internal Server Error",
        L"Error downloading Patch Management Installer - Internal Server Error "}},
      {DownloadOutcome::ReadFailed,
       {L"Error downloading Patch Management Installer", L"Error downloading Patch Management Installer."}},
      {DownloadOutcome::Cancelled,
       {L"Patch Management download cancelled by user", L"Patch Management download cancelled by user."}},
      {DownloadOutcome::RenameFailed,
       {L"Error creating Patch Management Installer local file",
        L"Error creating Patch Management Installer local file. Please check your available drive space."}},
      {DownloadOutcome::PublisherRefused,
       {L"The Patch Management package is not signed by its publisher",
        L"The Patch Management package is not signed by its publisher."}},
      {DownloadOutcome::Completed,
       {L"Download finished. Beginning Patch Management installation process",
        L"Download finished. Beginning Patch Management installation process."}},
      {DownloadOutcome::SourceMissing,
       {L"The Patch Management package is missing from the layout",
        L"The Patch Management package is missing from the layout."}},
      {DownloadOutcome::SourceDiffers,
       {L"The Patch Management package in the layout is not the one its manifest names",
        L"The Patch Management package in the layout is not the one its manifest names."}}}},
};

const PackageTexts& TextsOf(PackageKind kind)
{
    for (const PackageTexts& texts : kPackageTexts) {
        if (texts.kind == kind)
            return texts;
    }
    return kPackageTexts[0];
}

}  // namespace

OutcomeMessage DownloadBeganMessage(PackageKind kind)
{
    return TextsOf(kind).downloadBegan;
}

OutcomeMessage DownloadMessage(PackageKind kind, DownloadOutcome outcome)
{
    for (const DownloadText& text : TextsOf(kind).downloads) {
        if (text.outcome == outcome)
            return text.message;
    }
    return {L"", L""};
}

OutcomeMessage InstallerMessage(PackageKind kind, unsigned long exitCode)
{
    const std::wstring name = TextsOf(kind).name;
    std::wstring status;
    std::wstring line;
    if (exitCode == 0) {
        status = name + L" installation finished";
        line = status + L".";
    } else if (exitCode == kInstallUserExit) {
        status = name + L" installation cancelled by user";
        line = status + L".";
    } else {
        // The code is shown as a signed 32-bit number: 0xFFFFFFFF reads -1.
        status = L"An error occured while installing " + name;
        line = status + L" ( " + std::to_wstring(static_cast<int32_t>(static_cast<uint32_t>(exitCode))) + L" ).";
    }
    return {status, line};
}

OutcomeMessage LayoutFileMessage(const std::wstring& file)
{
    return {L"Downloaded " + file + L" into the layout", L"Downloaded " + file + L" into the layout."};
}
