// The run's layout steps: installing from a layout's manifest, and making a
// layout (fetching into its folder, keeping what it holds already, writing
// its manifest).
#include "layout_steps.h"

#include "build_config.h"
#include "error_text.h"
#include "exit_codes.h"
#include "layout_files.h"
#include "step_report.h"

std::optional<DWORD> LayoutSteps::Take()
{
    const std::wstring& folder = m_plan.sourceFolder;
    m_host.Note(L"Installing from the layout in " + folder);
    const LayoutRead read = ReadLayout(folder);
    if (!read.manifest) {
        m_host.Note(read.note);
        ShowStep(m_host, L"The layout cannot be used",
                 read.exitCode == exit_codes::kLayoutOtherVersion
                     ? L"The layout in " + folder + L" was made by another version of the program."
                     : L"The layout in " + folder + L" cannot be used: its manifest is missing, cut short or unreadable.");
        return read.exitCode;
    }
    for (PlannedPackage& package : m_plan.packages) {
        const LayoutEntry* const entry = read.manifest->Find(package.role);
        if (!entry || (package.start == InstallerStart::InstallCommand && read.manifest->installCommand.empty())) {
            m_host.Note(L"The layout's manifest names no " + package.role + L" package");
            Show(m_host, DownloadMessage(package.kind, DownloadOutcome::SourceMissing));
            return exit_codes::kLayoutFileMissing;
        }
        // The command is taken as the web service's would be.
        if (package.start == InstallerStart::InstallCommand)
            TakeDownloadDetails(package, L"", read.manifest->installCommand);
        package.source = {InFolder(folder, entry->name), entry->sha256};
    }
    return std::nullopt;
}

std::optional<DWORD> LayoutSteps::Begin()
{
    const std::wstring& folder = m_plan.layoutFolder;
    ShowStep(m_host, L"Making a layout", L"Making a layout in " + folder + L".");
    if (!::CreateDirectoryW(folder.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS) {
        const DWORD error = ::GetLastError();
        m_host.Note(ErrorNote(L"The layout folder cannot be created", error));
        ShowStep(m_host, L"Error creating the layout folder", L"Error creating the layout folder " + folder + L".");
        return exit_codes::CausedBy(error, exit_codes::kLocalFileFailed);
    }
    // What this version listed there stays listed until a package of the
    // same role replaces it; a layout another version made is made anew.
    LayoutRead previous = ReadLayout(folder);
    if (previous.manifest)
        m_layout = std::move(*previous.manifest);
    m_layout.programVersion = kProgramVersion;
    return std::nullopt;
}

bool LayoutSteps::Kept(const PlannedPackage& package)
{
    const LayoutEntry* const entry = m_layout.Find(package.role);
    if (!entry || entry->name != package.location.name || !LayoutFileMatches(m_plan.layoutFolder, *entry))
        return false;
    if (package.start == InstallerStart::InstallCommand)
        m_layout.installCommand = package.installCommand;
    ShowStep(m_host, entry->name + L" in the layout is up to date", entry->name + L" in the layout is up to date.");
    m_host.ShowProgress(static_cast<LONGLONG>(entry->size), static_cast<LONGLONG>(entry->size));
    return true;
}

std::optional<DWORD> LayoutSteps::Add(const PlannedPackage& package, const PackageDownload& download)
{
    m_layout.Put({package.role, package.location.name, static_cast<uint64_t>(download.Total()),
                  download.Digest() ? HexText(*download.Digest()) : std::wstring()});
    if (package.start == InstallerStart::InstallCommand)
        m_layout.installCommand = package.installCommand;
    m_host.ShowProgress(download.Total(), download.Total());
    return Write();
}

// After each package, so that a run that ends early leaves a manifest that
// names what the folder holds.
std::optional<DWORD> LayoutSteps::Write()
{
    const DWORD error = WriteLayout(m_plan.layoutFolder, m_layout);
    if (error == ERROR_SUCCESS)
        return std::nullopt;
    m_host.Note(ErrorNote(L"The layout's manifest cannot be written", error));
    ShowStep(m_host, L"Error writing the layout's manifest", L"Error writing the layout's manifest.");
    return exit_codes::CausedBy(error, exit_codes::kLocalFileFailed);
}

std::optional<DWORD> LayoutSteps::End()
{
    if (const auto exitCode = Write())
        return exitCode;
    ShowStep(m_host, L"The layout is complete",
             L"The layout in " + m_plan.layoutFolder + L" is complete: " + std::to_wstring(m_layout.entries.size()) +
                 L" packages.");
    return std::nullopt;
}
