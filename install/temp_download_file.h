#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

// The temporary file a download is written to: the runtime library's
// buffered file, opened "wb" (created, or emptied when it exists) under the
// same wide name that later moves and deletes it. Write and close failures
// are remembered, with the system's error, so that a damaged file is never
// moved into place.
class TempDownloadFile {
public:
    explicit TempDownloadFile(const std::wstring& name);
    ~TempDownloadFile();
    TempDownloadFile(const TempDownloadFile&) = delete;
    TempDownloadFile& operator=(const TempDownloadFile&) = delete;

    bool IsOpen() const { return m_file != nullptr; }
    bool Write(const void* data, size_t size);
    // Flushes and closes; false when any write, the flush or the close failed.
    bool Close();
    // Closes if still open and deletes the file.
    void Discard();

    const std::wstring& name() const { return m_name; }
    // The system's error of the failed create, write, flush or close; 0 if none.
    DWORD Error() const { return m_error; }

private:
    void Fail();

    std::wstring m_name;
    FILE* m_file = nullptr;
    bool m_failed = false;
    DWORD m_error = 0;
};
