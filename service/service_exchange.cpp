// One HTTPS round trip to the web service: the request written, the answer read and parsed.
#include "service_exchange.h"

#include "ansi_text.h"
#include "build_config.h"
#include "internet_handle.h"
#include "msgwebrequest.pb.h"
#include "msgwebresponse-copy.pb.h"
#include "wire_parse.h"

namespace msg = com::tarvic::vem::messaging;

namespace {

constexpr wchar_t kAgentString[] = L"VTA MSI Setup";
constexpr wchar_t kServiceObject[] = L"/vem-ws/VemSecureHttpServlet";
constexpr DWORD kReadChunkBytes = 64 * 1024;

// Reads the whole body: an answer may arrive in any number of pieces.
bool ReadWholeBody(HINTERNET request, std::string& body)
{
    body.clear();
    char chunk[kReadChunkBytes];
    for (;;) {
        DWORD read = 0;
        if (!::InternetReadFile(request, chunk, sizeof(chunk), &read))
            return false;
        if (read == 0)
            return true;
        if (body.size() + read > static_cast<size_t>(messaging::kMaxWireBytes)) {
            ::SetLastError(ERROR_INVALID_DATA);
            return false;
        }
        body.append(chunk, read);
    }
}

// An 8-bit response string as dialog text, up to its first zero byte.
CString ToDialogText(const std::string& value)
{
    return CString(FromThreadAnsi(std::string(value.c_str())));
}

// An answer that parsed but lacks what was asked for: no system error is the cause.
int Refused()
{
    ::SetLastError(ERROR_SUCCESS);
    return 0;
}

// The exchange proper; the caller's handles close after it returns.
int Exchange(const ServiceEndpoint& endpoint, const std::wstring& setupToken, std::optional<DWORD> timeoutMs,
             const std::optional<ProxySetting>& proxy, CString& installCommand, CString& downloadUrl,
             InternetHandle& session, InternetHandle& connection, InternetHandle& request)
{
    msg::MsgWebRequest question;
    question.set_request_type(msg::PATCH_DOWNLOAD_DETAILS);
    question.set_setup_token(NarrowSetupToken(setupToken));
    std::string buffer;
    if (!question.SerializeToString(&buffer)) {
        ::SetLastError(ERROR_INVALID_DATA);
        return 0;
    }

    session = OpenInternetSession(kAgentString, AddressOf(proxy));
    if (!session)
        return 0;
    if (timeoutMs)
        SetNetworkTimeouts(session.get(), *timeoutMs);
    connection = ::InternetConnectW(session.get(), endpoint.host, endpoint.port, nullptr, nullptr,
                                    INTERNET_SERVICE_HTTP, 0, 0);
    if (!connection)
        return 0;
    const wchar_t* acceptTypes[] = {L"application/octet-stream", nullptr};
    request = ::HttpOpenRequestW(connection.get(), L"POST", kServiceObject, nullptr, nullptr, acceptTypes,
                                 INTERNET_FLAG_SECURE, 0);
    if (!request)
        return 0;
    // The answer's HTTP status is not judged: whatever the status, the body
    // is taken as the response.
    if (!::HttpSendRequestW(request.get(), nullptr, 0, buffer.data(), static_cast<DWORD>(buffer.size())))
        return 0;
    if (proxy && ProxyAsksForCredentials(request.get()))
        AnswerProxyChallenge(request.get(), proxy->credentials, buffer);
    if (!ReadWholeBody(request.get(), buffer))
        return 0;

    msg::MsgWebResponse answer;
    if (!messaging::ParseWireMessage(buffer, answer)) {
        ::SetLastError(ERROR_INVALID_DATA);
        return 0;
    }
    if (answer.has_status() && answer.status() != msg::SUCCESS)
        return Refused();
    if (!answer.has_patch_install_command())
        return Refused();
    installCommand = ToDialogText(answer.patch_install_command());
    if (!answer.has_patch_download_url())
        return Refused();
    downloadUrl = ToDialogText(answer.patch_download_url());
    return 1;
}

}  // namespace

ServiceEndpoint BuiltInServiceEndpoint()
{
    return {kServiceHost, kServicePort};
}

std::string NarrowSetupToken(const std::wstring& token)
{
    std::string bytes;
    for (const wchar_t unit : token) {
        const char byte = static_cast<char>(unit & 0xFF);
        if (byte == '\0')
            break;
        bytes.push_back(byte);
    }
    return bytes;
}

int FetchPatchDownloadDetails(const ServiceEndpoint& endpoint, const std::wstring& setupToken,
                              CString& installCommand, CString& downloadUrl, std::optional<DWORD> timeoutMs,
                              const std::optional<ProxySetting>& proxy)
{
    int result = 0;
    DWORD error = 0;
    {
        // Declared in this order so they close request, connection, session.
        InternetHandle session;
        InternetHandle connection;
        InternetHandle request;
        result = Exchange(endpoint, setupToken, timeoutMs, proxy, installCommand, downloadUrl, session, connection,
                          request);
        error = ::GetLastError();
    }
    // Closing the handles must not hide why the exchange failed.
    ::SetLastError(error);
    return result;
}
