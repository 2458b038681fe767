// One HTTPS round trip to the web service: the request written, the answer read and parsed.
#include "service_exchange.h"

#include "ansi_text.h"
#include "build_config.h"
#include "internet_handle.h"
#include "web_origin.h"
#include "web_request.h"
#include "msgwebrequest.pb.h"
#include "msgwebresponse-copy.pb.h"
#include "wire_parse.h"

namespace msg = com::tarvic::vem::messaging;

namespace {

constexpr wchar_t kAgentString[] = L"VTA MSI Setup";
constexpr wchar_t kServiceObject[] = L"/vem-ws/VemSecureHttpServlet";
constexpr DWORD kReadChunkBytes = 64 * 1024;
// A real answer is a few hundred bytes; one beyond this is not read further.
constexpr size_t kMaxAnswerBytes = 1024 * 1024;

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
        if (body.size() + read > kMaxAnswerBytes) {
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
             InternetHandle& session, WebAnswer& reply)
{
    msg::MsgWebRequest question;
    question.set_request_type(msg::PATCH_DOWNLOAD_DETAILS);
    question.set_setup_token(NarrowSetupToken(setupToken));
    WebRequest request;
    if (!question.SerializeToString(&request.body)) {
        ::SetLastError(ERROR_INVALID_DATA);
        return 0;
    }

    session = OpenInternetSession(kAgentString, AddressOf(proxy));
    if (!session)
        return 0;
    if (timeoutMs)
        SetNetworkTimeouts(session.get(), *timeoutMs);
    static const wchar_t* const kAcceptTypes[] = {L"application/octet-stream", nullptr};
    request.url = std::wstring(L"https://") + endpoint.host + L":" + std::to_wstring(endpoint.port) + kServiceObject;
    request.verb = L"POST";
    request.flags = INTERNET_FLAG_SECURE;
    request.acceptTypes = kAcceptTypes;
    if (proxy)
        request.proxyCredentials = proxy->credentials;
    SendWebRequest(session.get(), request, reply);
    if (!reply.request) {
        ::SetLastError(reply.error);
        return 0;
    }
    if (!reply.fromHost) {
        ::SetLastError(kAnswerNotFromHost);
        return 0;
    }
    // The HTTP status of an answer from the service is not judged: whatever
    // the status, the body is taken as the response.
    std::string buffer;
    if (!ReadWholeBody(reply.request.get(), buffer))
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
                              const std::optional<ProxySetting>& proxy, std::vector<std::wstring>* notes)
{
    int result = 0;
    DWORD error = 0;
    {
        // Declared in this order so the request and its connection close before the session.
        InternetHandle session;
        WebAnswer reply;
        result = Exchange(endpoint, setupToken, timeoutMs, proxy, installCommand, downloadUrl, session, reply);
        error = ::GetLastError();
        if (notes)
            notes->insert(notes->end(), reply.notes.begin(), reply.notes.end());
    }
    // Closing the handles must not hide why the exchange failed.
    ::SetLastError(error);
    return result;
}
