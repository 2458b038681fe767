// The run's exchange with the web service, for the program's built-in endpoint.
#include "installation_files.h"
#include "service_exchange.h"

int InstallationFiles::RetrievePatchDownloadDetails(std::optional<DWORD> timeoutMs,
                                                    const std::optional<ProxySetting>& proxy,
                                                    std::vector<std::wstring>* notes)
{
    return FetchPatchDownloadDetails(BuiltInServiceEndpoint(), m_strSetupToken.str(), m_strPatchInstallCommand,
                                     m_strPatchDownloadUrl, timeoutMs, proxy, notes);
}
