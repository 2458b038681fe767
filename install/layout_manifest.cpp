// Writing and reading a layout's manifest.
#include "layout_manifest.h"

#include <algorithm>

#include "package_file_name.h"

namespace {

constexpr wchar_t kHeader[] = L"VTA Agent Download Manager layout";
constexpr wchar_t kEnd[] = L"end";

std::vector<std::wstring> Split(const std::wstring& text, wchar_t separator)
{
    std::vector<std::wstring> parts;
    size_t start = 0;
    for (size_t at = text.find(separator); at != std::wstring::npos; at = text.find(separator, start)) {
        parts.push_back(text.substr(start, at - start));
        start = at + 1;
    }
    parts.push_back(text.substr(start));
    return parts;
}

bool IsLowerHex(const std::wstring& text, size_t length)
{
    return text.size() == length && std::all_of(text.begin(), text.end(), [](wchar_t c) {
               return (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f');
           });
}

// Up to 19 digits: any size a file can have.
std::optional<uint64_t> Size(const std::wstring& text)
{
    if (text.empty() || text.size() > 19)
        return std::nullopt;
    uint64_t size = 0;
    for (const wchar_t c : text) {
        if (c < L'0' || c > L'9')
            return std::nullopt;
        size = size * 10 + static_cast<uint64_t>(c - L'0');
    }
    return size;
}

bool HasLineBreak(const std::wstring& text)
{
    return text.find_first_of(L"\r\n") != std::wstring::npos;
}

}  // namespace

const LayoutEntry* LayoutManifest::Find(const std::wstring& role) const
{
    const auto found =
        std::find_if(entries.begin(), entries.end(), [&role](const LayoutEntry& entry) { return entry.role == role; });
    return found == entries.end() ? nullptr : &*found;
}

void LayoutManifest::Put(const LayoutEntry& entry)
{
    entries.erase(std::remove_if(entries.begin(), entries.end(),
                                 [&entry](const LayoutEntry& kept) { return kept.role == entry.role; }),
                  entries.end());
    entries.push_back(entry);
}

std::optional<std::wstring> ManifestText(const LayoutManifest& manifest)
{
    if (HasLineBreak(manifest.installCommand) || HasLineBreak(manifest.programVersion))
        return std::nullopt;
    std::wstring text = std::wstring(kHeader) + L"\r\nversion\t" + manifest.programVersion + L"\r\n";
    for (const LayoutEntry& entry : manifest.entries)
        text += L"package\t" + entry.role + L"\t" + entry.name + L"\t" + std::to_wstring(entry.size) + L"\t" +
                entry.sha256 + L"\r\n";
    if (!manifest.installCommand.empty())
        text += L"command\t" + manifest.installCommand + L"\r\n";
    return text + kEnd + L"\r\n";
}

std::optional<LayoutManifest> ParseManifest(const std::wstring& text)
{
    std::vector<std::wstring> lines = Split(text, L'\n');
    // The text ends with a line end: its last part is empty.
    if (lines.size() < 4 || !lines.back().empty())
        return std::nullopt;
    lines.pop_back();
    for (std::wstring& line : lines) {
        if (line.empty() || line.back() != L'\r')
            return std::nullopt;
        line.pop_back();
    }
    if (lines.front() != kHeader || lines.back() != kEnd)
        return std::nullopt;

    LayoutManifest manifest;
    bool versioned = false;
    for (size_t i = 1; i + 1 < lines.size(); ++i) {
        const size_t tab = lines[i].find(L'\t');
        const std::wstring keyword = lines[i].substr(0, tab);
        const std::wstring rest = tab == std::wstring::npos ? std::wstring() : lines[i].substr(tab + 1);
        if (keyword == L"version" && !versioned && i == 1 && !rest.empty()) {
            manifest.programVersion = rest;
            versioned = true;
        } else if (keyword == L"command" && manifest.installCommand.empty() && !rest.empty()) {
            manifest.installCommand = rest;
        } else if (keyword == L"package") {
            const std::vector<std::wstring> fields = Split(rest, L'\t');
            const std::optional<uint64_t> size = fields.size() == 4 ? Size(fields[2]) : std::nullopt;
            if (!size || fields[0].empty() || !IsPlainFileName(fields[1]) || !IsLowerHex(fields[3], 64) ||
                manifest.Find(fields[0]))
                return std::nullopt;
            manifest.entries.push_back({fields[0], fields[1], *size, fields[3]});
        } else {
            return std::nullopt;
        }
    }
    if (!versioned)
        return std::nullopt;
    return manifest;
}
