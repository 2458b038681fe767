// Stands in for an installer in GUI tests: the package file says which exit
// code to return, and every start is recorded next to the package.
#include "exit_directive.h"
#include "package_argument.h"
#include "text_encoding.h"
#include "unique_handle.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <fstream>
#include <string>
#include <vector>

namespace {

// What msiexec returns when it cannot open the package.
constexpr DWORD kPackageOpenFailed = ERROR_INSTALL_PACKAGE_OPEN_FAILED;
constexpr size_t kDirectiveRoom = 64;
constexpr DWORD kPollMs = 5;

// The arguments after the program's own name, unquoted as the shell and msiexec do.
std::vector<std::wstring> Arguments()
{
    int count = 0;
    const uidriver::UniqueHandle<LPWSTR*, &LocalFree> words(CommandLineToArgvW(GetCommandLineW(), &count));
    if (!words)
        return {};
    return std::vector<std::wstring>(words.get() + std::min(count, 1), words.get() + count);
}

// Records this start; whether it is the package's first.
bool RecordStart(const std::filesystem::path& package)
{
    std::filesystem::path record = package;
    record += L".ran";
    const bool first = !std::filesystem::exists(record);
    std::ofstream(record, std::ios::binary | std::ios::app) << uidriver::ToUtf8(GetCommandLineW()) << "\n";
    return first;
}

// The package's first bytes, where its directives are; nothing when it
// cannot be read. A real downloaded package may be large.
std::optional<std::string> DirectivesOf(const std::filesystem::path& package)
{
    std::ifstream file(package, std::ios::binary);
    if (!file)
        return std::nullopt;
    std::string start(kDirectiveRoom, '\0');
    file.read(start.data(), static_cast<std::streamsize>(start.size()));
    start.resize(static_cast<size_t>(file.gcount()));
    return start;
}

// Waits until `file` exists, at most `milliseconds`.
void AwaitFile(const std::filesystem::path& file, DWORD milliseconds)
{
    const ULONGLONG deadline = GetTickCount64() + milliseconds;
    while (!std::filesystem::exists(file) && GetTickCount64() < deadline)
        Sleep(kPollMs);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int)
{
    const auto package = fakeinstaller::PackageArgument(Arguments());
    if (!package)
        return static_cast<int>(kPackageOpenFailed);
    const bool firstStart = RecordStart(*package);
    const auto directives = DirectivesOf(*package);
    if (!directives)
        return static_cast<int>(kPackageOpenFailed);
    const DWORD runTime = fakeinstaller::RunTimeFor(*directives);
    if (const auto awaited = fakeinstaller::AwaitedFileFor(*directives))
        AwaitFile(std::filesystem::path(*package).parent_path() / *awaited, runTime);
    else
        Sleep(runTime);
    return static_cast<int>(fakeinstaller::ExitCodeFor(*directives, firstStart));
}
