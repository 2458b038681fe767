// The package names and download details one run works with.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "afx_string.h"
#include "proxy_setting.h"

// The names and download details one installation run works with. Their
// owner (the dialog, or the windowless run) lives longer than the run; the
// installation worker reads them and stores what the web service sends.
class InstallationFiles {
public:
    // One exchange with the web service for the Patch Management download
    // details of the setup token: 1 when the install command and the URL
    // were both stored, 0 otherwise, with the cause as the last error.
    // timeoutMs bounds each network wait of the unattended modes; proxy
    // carries the exchange instead of the system's settings; notes, when
    // given, gets the exchange's lines for the log.
    int RetrievePatchDownloadDetails(std::optional<DWORD> timeoutMs = std::nullopt,
                                     const std::optional<ProxySetting>& proxy = std::nullopt,
                                     std::vector<std::wstring>* notes = nullptr);
    // Names the Patch Management package's local file after its install command.
    void DerivePatchInstallerFile();

    CString m_strAgentInstallerFile;
    CString m_strSetupToken;
    CString m_strPatchInstallCommand;
    CString m_strPatchDownloadUrl;
    CString m_strPatchInstallerFile;
};
