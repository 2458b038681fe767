#pragma once

#include <string>

struct InstallerNames {
    std::wstring agentInstallerFile;  // e.g. "vta-agent-x64_sABC.msi"
    std::wstring setupToken;          // e.g. "ABC"; empty when the name carries none
};

// Names from the executable's base name (no directory, no extension): its last
// "_"-suffix goes into the agent package's file name, and a suffix of "_s"
// plus at least one more character carries the setup token. A trailing copy
// marker (" (1)") that a browser adds to a second download is left out first.
InstallerNames DeriveInstallerNames(const std::wstring& exeBaseName, bool windows64Bit);
