// The exchange with the web service for the Patch Management download details.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <optional>
#include <string>
#include <vector>

#include "afx_string.h"
#include "proxy_setting.h"

struct ServiceEndpoint {
    const wchar_t* host;
    INTERNET_PORT port;
};

// The endpoint the program is built for.
ServiceEndpoint BuiltInServiceEndpoint();

// The setup token as sent: the low 8 bits of each UTF-16 code unit, up to the
// first that is zero. No code page is involved.
std::string NarrowSetupToken(const std::wstring& token);

// One HTTPS round trip to the web service asking for the Patch Management
// download details of the setup token. Returns 1 when both strings were
// received and stored, 0 otherwise. A failure leaves its cause as the thread's
// last error: WinINet's, ERROR_INVALID_DATA for an answer that does not parse,
// ERROR_SUCCESS for one that parses but refuses or lacks the details. A
// response with the command but without the URL still replaces installCommand.
// timeoutMs, when given, bounds WinINet's connect, send and receive waits;
// proxy, when given, carries the exchange instead of the system's settings.
// Only an answer that came over TLS from the service is read
// (kAnswerNotFromHost otherwise), and at most 1 MiB of it. `notes`, when
// given, gets the lines the log should have: redirects, a refused answer.
int FetchPatchDownloadDetails(const ServiceEndpoint& endpoint, const std::wstring& setupToken,
                              CString& installCommand, CString& downloadUrl,
                              std::optional<DWORD> timeoutMs = std::nullopt,
                              const std::optional<ProxySetting>& proxy = std::nullopt,
                              std::vector<std::wstring>* notes = nullptr);
