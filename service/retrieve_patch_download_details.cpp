#include "service_exchange.h"
#include "vta_agent_download_managerDlg.h"

int Cvta_agent_download_managerDlg::RetrievePatchDownloadDetails()
{
    return FetchPatchDownloadDetails(BuiltInServiceEndpoint(), m_strSetupToken.str(), m_strPatchInstallCommand,
                                     m_strPatchDownloadUrl);
}
