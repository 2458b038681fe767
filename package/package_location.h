// Where a package lives on disk.
#pragma once

#include <string>

// `name` in `folder`, a full path.
inline std::wstring InFolder(const std::wstring& folder, const std::wstring& name)
{
    return folder.empty() || folder.back() == L'\\' ? folder + name : folder + L'\\' + name;
}

// A package's place: the run's working folder, resolved once as a full path
// when the run is planned, and the package's plain file name there. Every
// writer of the package and its installer's launch take it from here.
struct PackageLocation {
    std::wstring folder;
    // Empty while the package has none (a command that names no package).
    std::wstring name;

    // The full path; empty while there is no name.
    std::wstring Path() const
    {
        return name.empty() ? name : InFolder(folder, name);
    }
};
