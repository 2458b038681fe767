#include "http_client.h"

#include "text_encoding.h"

#include <stdexcept>

namespace gui_test {

namespace {

constexpr DWORD kRequestFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
                                INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_UI | INTERNET_FLAG_KEEP_CONNECTION;
constexpr wchar_t kBodyHeader[] = L"Content-Type: application/octet-stream\r\n";

[[noreturn]] void Fail(const std::string& what)
{
    throw std::runtime_error(what + " failed, error " + std::to_string(GetLastError()));
}

std::string ReadBody(HINTERNET request)
{
    std::string body;
    char buffer[64 * 1024];
    DWORD read = 0;
    do {
        if (!InternetReadFile(request, buffer, sizeof buffer, &read))
            Fail("reading a response");
        body.append(buffer, read);
    } while (read != 0);
    return body;
}

}  // namespace

HttpClient::HttpClient(const std::wstring& baseUrl)
{
    wchar_t host[256] = {};
    URL_COMPONENTSW parts{};
    parts.dwStructSize = sizeof parts;
    parts.lpszHostName = host;
    parts.dwHostNameLength = static_cast<DWORD>(std::size(host));
    if (!InternetCrackUrlW(baseUrl.c_str(), 0, 0, &parts) || parts.nScheme != INTERNET_SCHEME_HTTP)
        throw std::runtime_error("not a plain HTTP address: " + uidriver::ToUtf8(baseUrl));

    session_.reset(InternetOpenW(L"gui-test-support", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
    if (!session_)
        Fail("InternetOpenW");
    connection_.reset(
        InternetConnectW(session_.get(), host, parts.nPort, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection_)
        Fail("connecting to " + uidriver::ToUtf8(baseUrl));
}

HttpResponse HttpClient::Send(const wchar_t* verb, const std::string& target, const std::string& body) const
{
    const std::string request = uidriver::ToUtf8(verb) + " " + target;
    const InternetHandle handle(HttpOpenRequestW(connection_.get(), verb, uidriver::FromUtf8(target).c_str(),
                                                 nullptr, nullptr, nullptr, kRequestFlags, 0));
    if (!handle)
        Fail(request);
    if (!HttpSendRequestW(handle.get(), kBodyHeader, static_cast<DWORD>(-1L), const_cast<char*>(body.data()),
                          static_cast<DWORD>(body.size())))
        Fail(request);

    DWORD status = 0;
    DWORD size = sizeof status;
    if (!HttpQueryInfoW(handle.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr))
        Fail(request + ": reading the status");
    return {status, ReadBody(handle.get())};
}

}  // namespace gui_test
