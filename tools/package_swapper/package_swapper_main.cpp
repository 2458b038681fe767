// Stands in for another process of the same user that tries to swap a
// package under the program: every few milliseconds it tries to write into
// the download's temporary file, to write into the package file, and to
// rename a file of its own over the package. It stops after its first round
// of attempts begun once the installer has started (STARTED exists), or
// when STOP exists. It then writes how each attempt ended, one line per kind
// of attempt and result ("write-temporary 32 410": 410 attempts failed with
// error 32; result 0 means the attempt succeeded), to the report file: an
// installer told to await the report is still running, with the package
// held for it, during that last round, however slowly the machine lets
// this process go.
//
//   package_swapper TEMPORARY PACKAGE DECOY REPORT STARTED STOP
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <utility>

namespace {

constexpr DWORD kPauseMs = 2;
constexpr ULONGLONG kGiveUpMs = 120000;
constexpr char kSwappedContent[] = "exit=66";

DWORD ErrorOf(BOOL succeeded)
{
    return succeeded ? ERROR_SUCCESS : GetLastError();
}

bool Exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Opens an existing file for writing, sharing everything, and overwrites its start.
DWORD TryToWrite(const std::wstring& path)
{
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return GetLastError();
    DWORD written = 0;
    const DWORD error = ErrorOf(WriteFile(file, kSwappedContent, sizeof kSwappedContent - 1, &written, nullptr));
    CloseHandle(file);
    return error;
}

// Renames a file of its own over the package, when there is a package.
DWORD TryToReplace(const std::wstring& package, const std::wstring& decoy)
{
    if (!Exists(package))
        return ERROR_FILE_NOT_FOUND;
    if (!Exists(decoy)) {
        std::ofstream(std::filesystem::path(decoy), std::ios::binary) << kSwappedContent;
    }
    return ErrorOf(MoveFileExW(decoy.c_str(), package.c_str(), MOVEFILE_REPLACE_EXISTING));
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 7)
        return ERROR_INVALID_PARAMETER;
    const std::wstring temporary = argv[1], package = argv[2], decoy = argv[3], report = argv[4], started = argv[5],
                       stop = argv[6];

    std::map<std::pair<std::string, DWORD>, unsigned> results;
    const ULONGLONG startedMs = GetTickCount64();
    bool lastRound = false;
    while (!lastRound && !Exists(stop) && GetTickCount64() - startedMs < kGiveUpMs) {
        lastRound = Exists(started);
        ++results[{"write-temporary", TryToWrite(temporary)}];
        ++results[{"write-package", TryToWrite(package)}];
        ++results[{"replace-package", TryToReplace(package, decoy)}];
        Sleep(kPauseMs);
    }

    std::ofstream out(std::filesystem::path(report), std::ios::binary | std::ios::trunc);
    for (const auto& [attempt, count] : results)
        out << attempt.first << ' ' << attempt.second << ' ' << count << '\n';
    return out ? 0 : 1;
}
