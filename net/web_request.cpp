// Sending one request: its connection, the proxy's challenge, the rule every
// answer is held to, and the redirects followed.
#include "web_request.h"

#include <optional>

#include "web_origin.h"

namespace {

DWORD StatusOf(HINTERNET request)
{
    DWORD status = 0;
    DWORD size = sizeof(status);
    ::HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr);
    return status;
}

// Called by WinINet on the sending thread. An answer's flags are read as it
// arrives: once its connection is let go (at once for an answer without a
// body) they no longer say whether it came through TLS.
void CALLBACK OnRequestStatus(HINTERNET request, DWORD_PTR context, DWORD status, LPVOID, DWORD)
{
    if (status != INTERNET_STATUS_RESPONSE_RECEIVED || context == 0)
        return;
    DWORD flags = 0;
    DWORD size = sizeof(flags);
    reinterpret_cast<WebAnswer*>(context)->securityFlagsAtAnswer =
        ::InternetQueryOptionW(request, INTERNET_OPTION_SECURITY_FLAGS, &flags, &size) ? flags : 0;
}

bool CameOverTls(const WebAnswer& answer)
{
    return (answer.securityFlagsAtAnswer & SECURITY_FLAG_SECURE) != 0;
}

// A text WinINet hands out for the request; nothing when it has none.
std::optional<std::wstring> QueryText(HINTERNET request, DWORD option, DWORD header)
{
    std::wstring text(INTERNET_MAX_URL_LENGTH, L'\0');
    DWORD size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    const BOOL read = option != 0 ? ::InternetQueryOptionW(request, option, text.data(), &size)
                                  : ::HttpQueryInfoW(request, header, text.data(), &size, nullptr);
    if (!read)
        return std::nullopt;
    text.resize(text.find(L'\0'));
    return text;
}

std::optional<std::wstring> Resolved(const std::wstring& base, const std::wstring& location)
{
    std::wstring combined(INTERNET_MAX_URL_LENGTH, L'\0');
    DWORD length = static_cast<DWORD>(combined.size());
    if (!::InternetCombineUrlW(base.c_str(), location.c_str(), combined.data(), &length, ICU_NO_ENCODE))
        return std::nullopt;
    combined.resize(length);
    return combined;
}

std::wstring Authority(const WebUrl& url)
{
    return url.host + L":" + std::to_wstring(url.port);
}

// One request on a connection of its own; false, with the cause in the
// answer, when no answer came.
bool SendOnce(HINTERNET session, const WebUrl& url, const WebRequest& request, const wchar_t* verb,
              const std::string& body, WebAnswer& answer)
{
    answer.request.Close();
    const bool bracketed = url.host.front() == L'[';
    const std::wstring host = bracketed ? url.host.substr(1, url.host.size() - 2) : url.host;
    answer.connection =
        ::InternetConnectW(session, host.c_str(), url.port, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0);
    if (answer.connection) {
        const DWORD flags = request.flags | INTERNET_FLAG_NO_AUTO_REDIRECT | (url.https ? INTERNET_FLAG_SECURE : 0);
        // The answer is the context of its request's status callback.
        answer.request = ::HttpOpenRequestW(answer.connection.get(), verb, url.object.c_str(), nullptr, nullptr,
                                            const_cast<const wchar_t**>(request.acceptTypes), flags,
                                            reinterpret_cast<DWORD_PTR>(&answer));
        if (answer.request)
            ::InternetSetStatusCallbackW(answer.request.get(), &OnRequestStatus);
    }
    answer.securityFlagsAtAnswer = 0;
    const wchar_t* headers = request.headers.empty() ? nullptr : request.headers.c_str();
    if (!answer.request || !::HttpSendRequestW(answer.request.get(), headers, static_cast<DWORD>(request.headers.size()),
                                               const_cast<char*>(body.data()), static_cast<DWORD>(body.size()))) {
        answer.error = ::GetLastError();
        answer.request.Close();
        return false;
    }
    answer.status = StatusOf(answer.request.get());
    // Credentials go to the proxy alone: a 407 that came through TLS is the
    // host's, and gets none.
    if (answer.status == HTTP_STATUS_PROXY_AUTH_REQ && !CameOverTls(answer) &&
        AnswerProxyChallenge(answer.request.get(), request.proxyCredentials, body))
        answer.status = StatusOf(answer.request.get());
    // The answer is in: the body's reads need no callback.
    ::InternetSetStatusCallbackW(answer.request.get(), nullptr);
    return true;
}

// Ends the request without an answer.
void Refuse(WebAnswer& answer, DWORD error, std::wstring note)
{
    answer.notes.push_back(std::move(note));
    answer.request.Close();
    answer.error = error;
}

}  // namespace

void SendWebRequest(HINTERNET session, const WebRequest& request, WebAnswer& answer)
{
    std::wstring url = request.url;
    const wchar_t* verb = request.verb;
    std::string body = request.body;
    for (int redirects = 0;; ++redirects) {
        const std::optional<WebUrl> asked = ParseWebUrl(url);
        if (!asked) {
            answer.error = ERROR_INTERNET_INVALID_URL;
            return;
        }
        answer.fromHost = false;
        if (!SendOnce(session, *asked, request, verb, body, answer))
            return;
        const HINTERNET sent = answer.request.get();
        const std::optional<std::wstring> answeredFor = QueryText(sent, INTERNET_OPTION_URL, 0);
        const bool overTls = CameOverTls(answer) && answeredFor && IsHttpsOn(*answeredFor, *asked);
        if (!overTls) {
            answer.notes.push_back(L"The answer (HTTP status " + std::to_wstring(answer.status) +
                                   L") did not come over TLS from " + Authority(*asked) + L": nothing of it is used");
            return;
        }
        // A proxy asks for credentials before TLS begins; the host must not.
        if (answer.status == HTTP_STATUS_PROXY_AUTH_REQ) {
            answer.notes.push_back(L"The host " + Authority(*asked) +
                                   L" asked for proxy credentials (407): they go only to the proxy");
            return;
        }
        answer.fromHost = true;
        if (!IsFollowedRedirect(answer.status))
            return;

        const std::optional<std::wstring> location = QueryText(sent, 0, HTTP_QUERY_LOCATION);
        const std::optional<std::wstring> next = location ? Resolved(url, *location) : std::nullopt;
        const std::optional<WebUrl> target = next ? ParseWebUrl(*next) : std::nullopt;
        if (!target || !target->https)
            return Refuse(answer, ERROR_HTTP_REDIRECT_FAILED,
                          L"The redirect to " + location.value_or(L"(none)") + L" is not followed: it is not https");
        if (redirects == kMaxRedirects)
            return Refuse(answer, ERROR_HTTP_REDIRECT_FAILED,
                          L"The redirect to " + *next + L" is not followed: " + std::to_wstring(kMaxRedirects) +
                              L" redirects are the most followed");
        answer.notes.push_back(L"HTTP status " + std::to_wstring(answer.status) + L": redirected to " + *next);
        // As browsers do, only 307 and 308 send the body on.
        if (answer.status != 307 && answer.status != 308 && std::wstring(verb) != L"GET") {
            verb = L"GET";
            body.clear();
        }
        url = *next;
    }
}
