// A layout's folder on disk: its manifest and the files it keeps.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "layout_manifest.h"
#include "package_location.h"

// The manifest of the layout in `folder`, or why it cannot be used: the
// exit code (exit_codes::kLayoutUnreadable, kLayoutOtherVersion), with the
// note for the log.
struct LayoutRead {
    std::optional<LayoutManifest> manifest;
    DWORD exitCode = 0;
    std::wstring note;
};
LayoutRead ReadLayout(const std::wstring& folder);

// Writes the manifest into `folder` as a new file of its own (never through
// a link planted at its name); the system's error, or 0 when written.
DWORD WriteLayout(const std::wstring& folder, const LayoutManifest& manifest);

// Whether `entry`'s file in `folder` still has its size and SHA-256.
bool LayoutFileMatches(const std::wstring& folder, const LayoutEntry& entry);
