// Verifying a held package's Authenticode signature and its signer's chain.
#include "package_publisher.h"

#include <windows.h>
#include <softpub.h>
#include <wincrypt.h>
#include <wintrust.h>

#include <algorithm>

#include "error_text.h"

namespace {

std::wstring SignerName(PCCERT_CONTEXT certificate)
{
    wchar_t name[256] = {};
    ::CertGetNameStringW(certificate, CERT_NAME_SIMPLE_DISPLAY_TYPE, 0, nullptr, name, ARRAYSIZE(name));
    return name;
}

// The verified state of one WinVerifyTrust call, closed when it goes.
class TrustState {
public:
    explicit TrustState(const HeldPackage& package)
    {
        m_file.cbStruct = sizeof(m_file);
        m_file.pcwszFilePath = package.name().c_str();
        m_file.hFile = package.handle();
        m_data.cbStruct = sizeof(m_data);
        m_data.dwUIChoice = WTD_UI_NONE;
        m_data.fdwRevocationChecks = WTD_REVOKE_NONE;
        m_data.dwUnionChoice = WTD_CHOICE_FILE;
        m_data.pFile = &m_file;
        m_data.dwStateAction = WTD_STATEACTION_VERIFY;
        m_data.dwProvFlags = WTD_CACHE_ONLY_URL_RETRIEVAL | WTD_REVOCATION_CHECK_NONE;
        m_status = ::WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &m_action, &m_data);
    }
    ~TrustState()
    {
        m_data.dwStateAction = WTD_STATEACTION_CLOSE;
        ::WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &m_action, &m_data);
    }
    TrustState(const TrustState&) = delete;
    TrustState& operator=(const TrustState&) = delete;

    LONG Status() const { return m_status; }
    // The first signer, as the verification found it.
    CRYPT_PROVIDER_SGNR* Signer() const
    {
        CRYPT_PROVIDER_DATA* provider = ::WTHelperProvDataFromStateData(m_data.hWVTStateData);
        return provider ? ::WTHelperGetProvSignerFromChain(provider, 0, FALSE, 0) : nullptr;
    }

private:
    GUID m_action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
    WINTRUST_FILE_INFO m_file{};
    WINTRUST_DATA m_data{};
    LONG m_status = 0;
};

}  // namespace

PublisherCheck CheckPublisher(const HeldPackage& package, const std::vector<Sha256Digest>& pinned)
{
    const TrustState trust(package);
    if (trust.Status() != ERROR_SUCCESS)
        return {false, L"The signature does not verify: " + HresultText(static_cast<DWORD>(trust.Status()))};
    CRYPT_PROVIDER_SGNR* signer = trust.Signer();
    CRYPT_PROVIDER_CERT* certificate = signer ? ::WTHelperGetProvCertFromChain(signer, 0) : nullptr;
    if (!certificate || !certificate->pCert || !signer->pChainContext)
        return {false, L"The signature names no signer"};

    const PCCERT_CONTEXT signerCertificate = certificate->pCert;
    const auto thumbprint = Sha256Of(signerCertificate->pbCertEncoded, signerCertificate->cbCertEncoded);
    const std::wstring signedBy = L"signed by " + SignerName(signerCertificate) + L" (SHA-256 " +
                                  (thumbprint ? HexText(*thumbprint) : L"unknown") + L")";
    if (!thumbprint || std::find(pinned.begin(), pinned.end(), *thumbprint) == pinned.end())
        return {false, L"The package is " + signedBy + L", which is not a pinned publisher"};

    CERT_CHAIN_POLICY_PARA policy{};
    policy.cbSize = sizeof(policy);
    CERT_CHAIN_POLICY_STATUS status{};
    status.cbSize = sizeof(status);
    if (!::CertVerifyCertificateChainPolicy(CERT_CHAIN_POLICY_AUTHENTICODE, signer->pChainContext, &policy, &status))
        return {false, L"The package is " + signedBy + L"; its chain cannot be checked: " +
                           ErrorText(::GetLastError())};
    if (status.dwError != ERROR_SUCCESS)
        return {false, L"The package is " + signedBy + L"; its chain is refused: " +
                           HresultText(status.dwError)};
    return {true, L"The package is " + signedBy};
}
