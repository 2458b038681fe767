// Files created and opened without following anything planted at their names.
#include "safe_file.h"

#include <vector>

#include "object_security.h"
#include "system_directory.h"

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// The final path as the system gives it, with its "\\?\" prefix.
std::wstring FinalPath(HANDLE handle)
{
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        const DWORD length = ::GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()),
                                                         FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0)
            return {};
        if (length < path.size())
            return std::wstring(path.data(), length);
        path.resize(length + 1);
    }
}

bool SamePath(const std::wstring& a, const std::wstring& b)
{
    return !a.empty() && ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

// Whether `handle` is open on the name `path` itself: its final path is its
// folder's final path and its own name. A followed link's is its target's.
bool IsAtName(HANDLE handle, const std::wstring& path)
{
    const size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos)
        return false;
    std::wstring expected;
    {
        const OwnedFile folder(::CreateFileW(path.substr(0, slash + 1).c_str(), FILE_READ_ATTRIBUTES, kShareAll,
                                             nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        if (folder.IsOpen())
            expected = FinalPath(folder.get());
    }
    if (expected.empty())
        return false;
    if (expected.back() != L'\\')
        expected += L'\\';
    return SamePath(FinalPath(handle), expected + path.substr(slash + 1));
}

// What a handle is open on; nothing when the system cannot tell.
struct Kind {
    bool reparsePoint;
    bool directory;
    DWORD links;
    FileIdentity identity;
};

std::optional<Kind> KindOf(HANDLE handle, FileInformationQuery query = &::GetFileInformationByHandle)
{
    BY_HANDLE_FILE_INFORMATION info{};
    FILE_ATTRIBUTE_TAG_INFO tag{};
    if (!query(handle, &info) ||
        !::GetFileInformationByHandleEx(handle, FileAttributeTagInfo, &tag, sizeof(tag)))
        return std::nullopt;
    return Kind{tag.ReparseTag != 0 || (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0,
                (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0, info.nNumberOfLinks,
                {info.dwVolumeSerialNumber, static_cast<ULONGLONG>(info.nFileIndexHigh) << 32 | info.nFileIndexLow}};
}

// Removes what is at `path`, the name itself: a link opened as itself, or a
// file whose handle is at this very name (of a hard link, this name only).
// False when something is there that cannot be told to be the name itself.
bool RemoveName(const std::wstring& path)
{
    const OwnedFile existing(::CreateFileW(path.c_str(), DELETE | FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                                           OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS,
                                           nullptr));
    if (!existing.IsOpen())
        return ::GetLastError() == ERROR_FILE_NOT_FOUND;
    const std::optional<Kind> kind = KindOf(existing.get());
    const bool itself = kind && (kind->reparsePoint || (!kind->directory && IsAtName(existing.get(), path)));
    if (!itself)
        ::SetLastError(0);
    // The name goes when `existing` closes.
    return itself && DeleteWhenClosed(existing.get());
}

// Deletes the file `created` was just created as, through that file itself,
// and closes the handle. A handle without DELETE access (one others may
// write through, shared as its caller asked) is first traded for one that
// only reads attributes, which takes part in no sharing, and that for one
// that deletes.
void DeleteCreated(HANDLE created, DWORD access)
{
    HANDLE file = created;
    if (!(access & DELETE)) {
        const OwnedFile attributes(::ReOpenFile(created, FILE_READ_ATTRIBUTES, kShareAll, 0));
        ::CloseHandle(created);
        file = attributes.IsOpen() ? ::ReOpenFile(attributes.get(), DELETE, kShareAll, 0) : INVALID_HANDLE_VALUE;
    }
    const OwnedFile deleting(file);
    if (deleting.IsOpen())
        DeleteWhenClosed(deleting.get());
}

}  // namespace

FileInformationQuery g_createdFileInformation = &::GetFileInformationByHandle;

std::wstring FinalPathOf(HANDLE file)
{
    const std::wstring path = FinalPath(file);
    if (path.compare(0, 8, L"\\\\?\\UNC\\") == 0)
        return L"\\\\" + path.substr(8);
    if (path.compare(0, 4, L"\\\\?\\") == 0)
        return path.substr(4);
    return path;
}

std::optional<FileIdentity> IdentityOf(HANDLE file)
{
    const std::optional<Kind> kind = KindOf(file);
    return kind ? std::optional<FileIdentity>(kind->identity) : std::nullopt;
}

HANDLE CreateNewFile(const std::wstring& name, DWORD access, DWORD share, FileOpeners openers)
{
    const std::wstring path = FullPath(name);
    if (!RemoveName(path))
        return INVALID_HANDLE_VALUE;
    ObjectSecurity security = openers == FileOpeners::Administrators ? ObjectSecurity::AdministratorsOnly()
                                                                     : ObjectSecurity::AdministratorsAndUser();
    if (!security.Attributes())
        return INVALID_HANDLE_VALUE;
    // A name that is back by now is refused, whatever it leads to.
    const HANDLE file = ::CreateFileW(path.c_str(), access, share, security.Attributes(), CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        if (::GetLastError() == ERROR_FILE_EXISTS)
            ::SetLastError(0);
        return INVALID_HANDLE_VALUE;
    }
    const std::optional<Kind> kind = KindOf(file, g_createdFileInformation);
    if (!kind || kind->reparsePoint || kind->directory || kind->links != 1 || !IsAtName(file, path)) {
        DeleteCreated(file, access);
        ::SetLastError(0);
        return INVALID_HANDLE_VALUE;
    }
    return file;
}

HANDLE OpenSameFile(const std::wstring& path, DWORD access, DWORD share, DWORD flags, const FileIdentity& expected)
{
    const HANDLE file = ::CreateFileW(path.c_str(), access, share, nullptr, OPEN_EXISTING,
                                      flags | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return file;
    const std::optional<Kind> kind = KindOf(file);
    if (!kind || kind->reparsePoint || kind->identity != expected) {
        ::CloseHandle(file);
        ::SetLastError(0);
        return INVALID_HANDLE_VALUE;
    }
    return file;
}

bool DeleteWhenClosed(HANDLE file)
{
    FILE_DISPOSITION_INFO disposition{TRUE};
    return ::SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof(disposition)) != FALSE;
}
