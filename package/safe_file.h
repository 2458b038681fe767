// Creating, opening and deleting files where other programs can write.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

// How the program creates, opens and deletes its files where other programs
// of the user can write (the working folder, the log's folder): never
// through a link or junction planted at the name, so that nothing planted
// makes it write, truncate, create, move or delete another file. Every
// writer of the program goes through here.

// Which file a handle is open on: its volume and its number there.
struct FileIdentity {
    DWORD volume = 0;
    ULONGLONG index = 0;
    friend bool operator==(const FileIdentity& a, const FileIdentity& b)
    {
        return a.volume == b.volume && a.index == b.index;
    }
    friend bool operator!=(const FileIdentity& a, const FileIdentity& b) { return !(a == b); }
};
std::optional<FileIdentity> IdentityOf(HANDLE file);

// Who may open a file the program creates; nothing is inherited from its
// folder.
enum class FileOpeners {
    // SYSTEM and Administrators: a process of the user that is not elevated
    // cannot open it at all (the packages).
    Administrators,
    // And the user who runs the program, to read and write (the logs).
    AdministratorsAndUser,
};

// Creates `path` as a new, plain file of its own, that only `openers` may
// open, and opens it with `access` and `share`. What is at the name first
// is removed, the name itself and never what it leads to; where that cannot
// be told (a system that follows a link even when asked not to), or the
// name is back before the create, nothing is opened. A file created that
// then is not the plain file at the name (made through a link in a folder
// of the path) is deleted through its own handle. Returns
// INVALID_HANDLE_VALUE then, with the last error 0 for such a refusal or
// the system's error of a failed create.
HANDLE CreateNewFile(const std::wstring& path, DWORD access, DWORD share, FileOpeners openers);

// How CreateNewFile asks what it created; tests answer otherwise to see a
// file that fails its checks.
using FileInformationQuery = BOOL(WINAPI*)(HANDLE, LPBY_HANDLE_FILE_INFORMATION);
extern FileInformationQuery g_createdFileInformation;

// Opens the existing file `path` without following a link, and only when it
// is the file `expected` (the one the program wrote); INVALID_HANDLE_VALUE
// otherwise, with the last error 0 when it is another file.
HANDLE OpenSameFile(const std::wstring& path, DWORD access, DWORD share, DWORD flags, const FileIdentity& expected);

// Where the file open on `file` is now, as a full path with its drive or
// share (never through a link: the system resolves them), in the form
// programs that take file names accept; empty when the system cannot tell.
// While the handle keeps the file from being moved, no folder on that path
// can be replaced either.
std::wstring FinalPathOf(HANDLE file);

// A file handle of the program's own, closed when the object goes.
class OwnedFile {
public:
    explicit OwnedFile(HANDLE file) : m_file(file) {}
    ~OwnedFile()
    {
        if (IsOpen())
            ::CloseHandle(m_file);
    }
    OwnedFile(const OwnedFile&) = delete;
    OwnedFile& operator=(const OwnedFile&) = delete;
    bool IsOpen() const { return m_file != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return m_file; }

private:
    HANDLE m_file;
};

// Deletes the file open on `file` (opened with DELETE access) when its last
// handle closes: by the handle, never by a name another process could have
// pointed elsewhere meanwhile.
bool DeleteWhenClosed(HANDLE file);
