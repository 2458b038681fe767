// The manifest of a layout: what /layout fetched into a folder, for /source.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The manifest's name in the layout folder.
inline constexpr wchar_t kLayoutManifestName[] = L"vta-layout.txt";

// One package of a layout: its role in a run ("agent-x64", "agent-x86",
// "patch-management"), its plain file name in the folder, its size and its
// SHA-256 as 64 lower-case hex digits.
struct LayoutEntry {
    std::wstring role;
    std::wstring name;
    uint64_t size = 0;
    std::wstring sha256;
};

struct LayoutManifest {
    // The version of the program that made it; another version's layout is
    // refused, as its packages and command may not be what this one runs.
    std::wstring programVersion;
    std::vector<LayoutEntry> entries;
    // The Patch Management install command; empty without that package.
    std::wstring installCommand;

    const LayoutEntry* Find(const std::wstring& role) const;
    // Adds `entry`, or replaces the one of its role.
    void Put(const LayoutEntry& entry);
};

// The manifest as its file holds it, one line each, fields apart by a tab:
//   VTA Agent Download Manager layout
//   version <version>
//   package <role> <name> <size> <sha256>      (one per package)
//   command <install command>                  (with Patch Management)
//   end
// The last line tells a whole manifest from one cut short. Nothing when
// the manifest cannot be written so (a command with a line break).
std::optional<std::wstring> ManifestText(const LayoutManifest& manifest);

// The manifest of that text; nothing unless every line is as ManifestText
// writes it, each name a plain file name and the end there.
std::optional<LayoutManifest> ParseManifest(const std::wstring& text);
