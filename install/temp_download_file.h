#pragma once

#include <cstdio>
#include <string>

// The temporary file a download is written to: the runtime library's buffered
// 8-bit file, opened "wb" (created, or emptied when it exists), its name
// passed through the thread's ANSI code page. Write and close failures are
// remembered so that a damaged file is never moved into place.
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

private:
    std::wstring m_name;
    FILE* m_file = nullptr;
    bool m_failed = false;
};
