// Where a web address leads, and the rules an answer from there is held to.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// A request that got an answer the program may not use (a proxy's own
// answer, one that did not come over TLS from the host asked, a redirect
// that leaves TLS) ends with this error; it lies above the range of Win32's.
constexpr uint32_t kAnswerNotFromHost = 20019;

// Redirects followed for one request at the most, as WinINet's own limit.
constexpr int kMaxRedirects = 5;

// The parts of an http:// or https:// address a request is made from.
struct WebUrl {
    bool https = false;
    std::wstring host;  // in lower case; an IPv6 address keeps its brackets
    uint16_t port = 0;  // the scheme's own where the address names none
    std::wstring object;  // the path and query, "/" at the least; no fragment
};

// The parts of `url`; nothing for another scheme, an address with user
// information ("user@host"), no host or a port outside 1 to 65535.
std::optional<WebUrl> ParseWebUrl(const std::wstring& url);

// Whether `url` is an https:// address of the host and port `asked` names.
bool IsHttpsOn(const std::wstring& url, const WebUrl& asked);

// The statuses whose Location is followed: 301, 302, 303, 307, 308.
bool IsFollowedRedirect(uint32_t status);
