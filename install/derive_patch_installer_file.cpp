// The Patch Management package's local file, named once the details arrive.
#include "ansi_text.h"
#include "installation_files.h"
#include "package_file_name.h"

// The name is checked as the file system gets it, after the thread's ANSI
// code page: a character with a look-alike there (a fullwidth backslash)
// could otherwise become a separator. Any name but a plain one stays empty,
// which fails the download before anything is written.
void InstallationFiles::DerivePatchInstallerFile()
{
    m_strPatchInstallerFile = L"";
    if (const auto file = PatchInstallerFileFromCommand(m_strPatchInstallCommand.str())) {
        const std::wstring name = ThroughThreadAnsi(*file);
        if (IsPlainFileName(name))
            m_strPatchInstallerFile = name;
    }
}
