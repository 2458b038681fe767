// The temporary file a package is written to before its move into place.
#pragma once

#include <windows.h>

#include <cstdio>
#include <optional>
#include <string>

#include "safe_file.h"
#include "sha256.h"

// The temporary file a download is written to, created new (what was at its
// name goes first, never what a link there leads to) under the same wide name
// that later moves it.
//
// It is ours alone from its creation on: its handle lets other processes only
// read, so nobody else can write, replace, rename or delete it while it is
// open, and it moves into place on that same handle. The body goes through
// the runtime library's buffered file on the handle, and its SHA-256 is taken
// as it is written. Write and close failures are remembered, with the
// system's error, so that a damaged file is never moved into place.
class TempDownloadFile {
public:
    explicit TempDownloadFile(const std::wstring& name);
    ~TempDownloadFile();
    TempDownloadFile(const TempDownloadFile&) = delete;
    TempDownloadFile& operator=(const TempDownloadFile&) = delete;

    bool IsOpen() const { return m_file != nullptr; }
    bool Write(const void* data, size_t size);
    // Writes out what is buffered; false when any write or the flush failed.
    bool Flush();
    // Empties the file, and the digest with it, for a body that starts over;
    // false when that failed (the file is then damaged).
    bool Restart();
    // Writes out what is buffered and renames the open file to `localFile`
    // (a full path: the package's location), replacing a file of that name;
    // false when a write failed or the move did (the file then stays under
    // its temporary name). The file stays open, and locked, until Close.
    bool MoveTo(const std::wstring& localFile);
    // Flushes and closes; false when any write, the flush or the close failed.
    bool Close();
    // Deletes the file through its handle and closes it; a file closed
    // already stays.
    void Discard();

    const std::wstring& name() const { return m_name; }
    // Which file this is, for the hold to open no other; nothing if unknown.
    const std::optional<FileIdentity>& Identity() const { return m_identity; }
    // The system's error of the failed create, write, flush, move or close; 0 if none.
    DWORD Error() const { return m_error; }
    // The SHA-256 of every byte written; nothing when the digest failed.
    std::optional<Sha256Digest> Digest() { return m_digest->Finish(); }

private:
    void Fail();

    std::wstring m_name;
    HANDLE m_handle = INVALID_HANDLE_VALUE;  // owned by m_file once that is open
    FILE* m_file = nullptr;
    bool m_failed = false;
    DWORD m_error = 0;
    std::optional<Sha256> m_digest{std::in_place};
    std::optional<FileIdentity> m_identity;
};
