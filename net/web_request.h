// One HTTP request of the run, and the rule every answer it uses must pass.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <string>
#include <vector>

#include "internet_handle.h"
#include "proxy_setting.h"

// What one request sends.
struct WebRequest {
    // An http:// or https:// address.
    std::wstring url;
    const wchar_t* verb = L"GET";
    // Extra request headers, each ending in "\r\n"; empty for none.
    std::wstring headers;
    std::string body;
    // WinINet's request flags. The request goes over TLS when they hold
    // INTERNET_FLAG_SECURE or the address is https://.
    DWORD flags = 0;
    const wchar_t* const* acceptTypes = nullptr;
    // Given to the proxy when it asks for them (407) before TLS began.
    ProxyCredentials proxyCredentials;
};

// The answer to a request. Declared so the request closes before its
// connection, and both before what their status callback writes to.
struct WebAnswer {
    // The request's security flags when its last answer arrived, before
    // WinINet may let that answer's connection go (it does at once for an
    // answer without a body, and the flags then no longer tell).
    DWORD securityFlagsAtAnswer = 0;
    InternetHandle connection;
    InternetHandle request;
    // No answer (a null request): why.
    DWORD error = 0;
    DWORD status = 0;
    // The answer came over TLS from the host asked (or from the host of a
    // redirect followed) and is not a 407: only then may its status,
    // headers or body decide anything.
    bool fromHost = false;
    // What the log should say: each redirect followed, and why an answer
    // is not used.
    std::vector<std::wstring> notes;
};

// Sends `request` on the session and reads the answer's head. Redirects are
// followed here, never by WinINet: only a 301, 302, 303, 307 or 308 that came
// from the host, to an https:// address, at most kMaxRedirects times; a
// redirect that fails this leaves no answer (ERROR_HTTP_REDIRECT_FAILED).
// An answer that is not from the host is kept (fromHost false) for its status.
void SendWebRequest(HINTERNET session, const WebRequest& request, WebAnswer& answer);
