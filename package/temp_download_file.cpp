// Writing, digesting, moving and discarding a download's temporary file.
#include "temp_download_file.h"

#include <fcntl.h>
#include <io.h>

#include <vector>

#include "safe_file.h"

namespace {

// A new file of its own, never one a planted link leads to. Writing, moving
// and renaming are ours; others may only read, and only administrators
// open it at all: between its close and its hold a process of the user
// that is not elevated finds nothing it may open.
HANDLE CreateLocked(const std::wstring& name)
{
    return CreateNewFile(name, GENERIC_WRITE | DELETE, FILE_SHARE_READ, FileOpeners::Administrators);
}

// The runtime library's buffered file on the handle, which it then owns.
FILE* BufferedFileOn(HANDLE handle)
{
    const int descriptor = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_WRONLY | _O_BINARY);
    if (descriptor == -1)
        return nullptr;
    FILE* file = ::_fdopen(descriptor, "wb");
    if (!file)
        ::_close(descriptor);
    return file;
}

}  // namespace

TempDownloadFile::TempDownloadFile(const std::wstring& name) : m_name(name)
{
    m_handle = CreateLocked(name);
    if (m_handle == INVALID_HANDLE_VALUE) {
        Fail();
        return;
    }
    m_identity = IdentityOf(m_handle);
    m_file = BufferedFileOn(m_handle);
    if (!m_file) {
        Fail();
        ::CloseHandle(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
    }
}

TempDownloadFile::~TempDownloadFile()
{
    if (m_file)
        std::fclose(m_file);
}

void TempDownloadFile::Fail()
{
    if (!m_failed)
        m_error = ::GetLastError();
    m_failed = true;
}

bool TempDownloadFile::Write(const void* data, size_t size)
{
    if (!m_file || std::fwrite(data, 1, size, m_file) != size)
        Fail();
    else
        m_digest->Add(data, size);
    return !m_failed;
}

bool TempDownloadFile::Flush()
{
    if (m_file && std::fflush(m_file) != 0)
        Fail();
    return !m_failed;
}

bool TempDownloadFile::Restart()
{
    // The runtime's seek moves the handle's file pointer, where the end is set.
    if (!m_file || !Flush() || std::fseek(m_file, 0, SEEK_SET) != 0 || !::SetEndOfFile(m_handle))
        Fail();
    else
        m_digest.emplace();
    return !m_failed;
}

bool TempDownloadFile::MoveTo(const std::wstring& localFile)
{
    if (!m_file || !Flush())
        return false;
    std::vector<unsigned char> buffer(sizeof(FILE_RENAME_INFO) + localFile.size() * sizeof(wchar_t));
    auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    rename->ReplaceIfExists = TRUE;
    rename->RootDirectory = nullptr;
    rename->FileNameLength = static_cast<DWORD>(localFile.size() * sizeof(wchar_t));
    localFile.copy(rename->FileName, localFile.size());
    if (!::SetFileInformationByHandle(m_handle, FileRenameInfo, rename, static_cast<DWORD>(buffer.size()))) {
        m_error = ::GetLastError();
        return false;
    }
    m_name = localFile;
    return true;
}

bool TempDownloadFile::Close()
{
    if (!m_file)
        return !m_failed;
    Flush();
    if (std::fclose(m_file) != 0)
        Fail();
    m_file = nullptr;
    m_handle = INVALID_HANDLE_VALUE;
    return !m_failed;
}

void TempDownloadFile::Discard()
{
    // On the handle, before it closes: a name can be pointed elsewhere by
    // then. A file closed already stays.
    if (m_file && !DeleteWhenClosed(m_handle))
        Fail();
    Close();
}
