#pragma once

#include "unique_handle.h"

#include <windows.h>
#include <wininet.h>

#include <string>

namespace gui_test {

struct HttpResponse {
    DWORD status;
    std::string body;
};

// Plain HTTP to one host through WinINet, without proxy, cache or cookies.
class HttpClient {
public:
    // baseUrl such as "http://127.0.0.1:47440"; throws std::runtime_error when it is not usable.
    explicit HttpClient(const std::wstring& baseUrl);

    // target is the path with its query; throws std::runtime_error when the exchange fails.
    HttpResponse Send(const wchar_t* verb, const std::string& target, const std::string& body = {}) const;

private:
    using InternetHandle = uidriver::UniqueHandle<HINTERNET, &InternetCloseHandle>;

    InternetHandle session_;
    InternetHandle connection_;
};

}  // namespace gui_test
