// Reading and writing a layout's manifest, and checking the files it keeps.
#include "layout_files.h"

#include "ansi_text.h"
#include "build_config.h"
#include "error_text.h"
#include "exit_codes.h"
#include "safe_file.h"
#include "sha256.h"

namespace {

// A manifest is a few hundred bytes; anything much larger is not one.
constexpr DWORD kLongestManifest = 64 * 1024;

}  // namespace

LayoutRead ReadLayout(const std::wstring& folder)
{
    const std::wstring path = InFolder(folder, kLayoutManifestName);
    const OwnedFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsOpen())
        return {std::nullopt, exit_codes::kLayoutUnreadable, ErrorNote(L"The layout's manifest " + path +
                                                                           L" cannot be opened", ::GetLastError())};
    std::string bytes(kLongestManifest + 1, '\0');
    DWORD read = 0;
    if (!::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
        return {std::nullopt, exit_codes::kLayoutUnreadable,
                ErrorNote(L"The layout's manifest " + path + L" cannot be read", ::GetLastError())};
    bytes.resize(read);
    const std::optional<std::wstring> text = read <= kLongestManifest ? FromUtf8(bytes) : std::nullopt;
    std::optional<LayoutManifest> manifest = text ? ParseManifest(*text) : std::nullopt;
    if (!manifest)
        return {std::nullopt, exit_codes::kLayoutUnreadable,
                L"The layout's manifest " + path + L" is not whole, or not a manifest this program writes"};
    if (manifest->programVersion != kProgramVersion)
        return {std::nullopt, exit_codes::kLayoutOtherVersion,
                L"The layout was made by version " + manifest->programVersion + L" of the program; this is " +
                    kProgramVersion};
    return {std::move(manifest), 0, L""};
}

DWORD WriteLayout(const std::wstring& folder, const LayoutManifest& manifest)
{
    const std::optional<std::wstring> text = ManifestText(manifest);
    if (!text)
        return ERROR_INVALID_DATA;
    const OwnedFile file(CreateNewFile(InFolder(folder, kLayoutManifestName), GENERIC_WRITE, FILE_SHARE_READ,
                                       FileOpeners::AdministratorsAndUser));
    if (!file.IsOpen())
        return ::GetLastError() != ERROR_SUCCESS ? ::GetLastError() : ERROR_ACCESS_DENIED;
    const std::string bytes = ToUtf8(*text);
    DWORD written = 0;
    if (!::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size() || !::FlushFileBuffers(file.get()))
        return ::GetLastError() != ERROR_SUCCESS ? ::GetLastError() : ERROR_WRITE_FAULT;
    return ERROR_SUCCESS;
}

bool LayoutFileMatches(const std::wstring& folder, const LayoutEntry& entry)
{
    const OwnedFile file(::CreateFileW(InFolder(folder, entry.name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                       OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    LARGE_INTEGER size{};
    if (!file.IsOpen() || !::GetFileSizeEx(file.get(), &size) || static_cast<uint64_t>(size.QuadPart) != entry.size)
        return false;
    const std::optional<Sha256Digest> digest = Sha256OfFile(file.get());
    return digest && HexText(*digest) == entry.sha256;
}
