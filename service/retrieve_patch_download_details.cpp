#include "installation_files.h"
#include "service_exchange.h"

int InstallationFiles::RetrievePatchDownloadDetails(std::optional<DWORD> timeoutMs)
{
    return FetchPatchDownloadDetails(BuiltInServiceEndpoint(), m_strSetupToken.str(), m_strPatchInstallCommand,
                                     m_strPatchDownloadUrl, timeoutMs);
}
