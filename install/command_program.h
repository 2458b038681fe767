// The program an install command starts, decided before anything runs.
#pragma once

#include <string>

// The program an install command starts, decided here: process creation
// never searches for it, since the folders it would search first (the
// program's own, the current one) are usually ones anybody can write to.
struct CommandProgram {
    enum class Where {
        // A bare name ("msiexec", "\"msiexec.exe\""): the system directory's
        // program of that name.
        SystemDirectory,
        // A full path (a drive's or a share's): that program.
        FullPath,
        // The command's first word names the downloaded package.
        Package,
        // A relative path with a folder in it ("tools\\setup.exe", "C:x.exe",
        // "\\setup.exe"), or an unquoted full path that does not end in
        // ".exe", which process creation would have to guess at ("C:\\pm
        // tools\\setup.exe" would start "C:\\pm.exe"); a name with a
        // quotation mark inside it; or no program at all.
        Refused,
    };
    Where where;
    // The name, or the full path, with ".exe" added where the command's word
    // has no extension, as process creation adds it.
    std::wstring program;
};

// The program of `commandLine`, whose package is saved as `packageFile` (a
// plain file name).
CommandProgram ProgramOfCommand(const std::wstring& commandLine, const std::wstring& packageFile);

// The command as /norestart has it: one whose program is the system's
// msiexec gets " REBOOT=ReallySuppress" appended, unless it sets REBOOT
// itself; any other command is left as it is (only Windows Installer knows
// that property).
std::wstring WithRestartSuppressed(const std::wstring& commandLine, const std::wstring& packageFile);

// Whether the command does nothing but install the downloaded package with
// the system's msiexec: "msiexec /i <packageFile>" (or /package), then only
// interface and restart switches ("/qn", "/norestart") and property words
// ("NAME=value"). A command that names any other program or file (a log, a
// transform, a patch, another package) is not. Builds that pin the
// packages' publishers run no other command: a signed package is all they
// vouch for.
bool InstallsOnlyThePackage(const std::wstring& commandLine, const std::wstring& packageFile);

// The command with each word that names the package file `packageFile`
// (quoted or not) replaced by its full path `path`, quoted: the installer
// then opens the very file the program holds, not a name that leads
// through the working folder.
std::wstring WithPackagePath(const std::wstring& commandLine, const std::wstring& packageFile,
                             const std::wstring& path);
