#pragma once

#include "http_client.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace gui_test {

// How a route declares the length of its body.
class ContentLength {
public:
    static ContentLength Automatic() { return ContentLength("auto"); }  // the body's real length
    static ContentLength None() { return ContentLength("none"); }       // no Content-Length header
    static ContentLength Exactly(std::uint64_t bytes) { return ContentLength(std::to_string(bytes)); }

    const std::string& QueryValue() const { return value_; }

private:
    explicit ContentLength(std::string value) : value_(std::move(value)) {}

    std::string value_;
};

// What the test host answers on one path.
struct Route {
    int status = 200;
    std::string body;
    ContentLength length = ContentLength::Automatic();
    std::size_t chunk = 0;  // bytes per write; 0 keeps the host's default
    int chunk_delay_ms = 0;
    int pause_before_ms = 0;
    // Set: the connection drops after this many bytes of the body.
    std::optional<std::size_t> cut_after;
    // Answers "Range: bytes=N-" with that part of the body (206), checking
    // If-Range against an ETag or Last-Modified among `headers`.
    bool ranges = false;
    // 0: the path's standing answer. N: answers the next N requests ahead of
    // the standing answer (after earlier such routes), then is used up.
    int times = 0;
    // Extra response headers, such as {"Cache-Control", "max-age=3600"}; a
    // Content-Type replaces the host's default type. Content-Length and
    // Transfer-Encoding come from `length` and cannot be set here.
    std::vector<std::pair<std::string, std::string>> headers;
};

// Client of the loopback test host's control API, at TESTHOST_CONTROL or
// http://127.0.0.1:47440. Every call throws std::runtime_error when the host
// cannot be reached or answers with an unexpected status.
//
// Its listeners on 127.0.0.1, by name: "download" (47443) and "service"
// (47444), HTTPS with the test CA's certificate; "untrusted" (47445), HTTPS
// with an unrelated CA's; "plain" (47446), plain HTTP; the four serve the same
// routes. "silent" (47447) accepts connections and never sends a byte. Wine's
// WinINet waits on it past its session's receive and connect timeouts, and
// when a reset drops the connection it tries once more on a new one; closing
// "silent" ends the wait for good (error 12157).
class TestHost {
public:
    TestHost();

    // Forgets every route, recorded request and connection count, ends slow
    // responses and silent connections, and opens closed listeners again.
    void Reset();
    void SetRoute(const std::string& path, const Route& route);
    int RequestCount(const std::string& path);
    // Nothing when the path has not been requested.
    std::optional<std::string> LastRequestBody(const std::string& path);
    // Nothing when the path has not been requested or the request lacked the header.
    std::optional<std::string> LastRequestHeader(const std::string& path, const std::string& name);
    // The header's value in every request for the path, in order (empty for
    // a request without it).
    std::vector<std::string> HeaderOfEachRequest(const std::string& path, const std::string& name);
    // TLS handshakes begun on "download", "service" or "untrusted", even those
    // the client then abandoned; connections accepted by "silent". Since the
    // last reset.
    int ConnectionCount(const std::string& listener);
    // A closed listener refuses connections until it is opened or the host reset.
    void SetListenerOpen(const std::string& name, bool open);

private:
    HttpResponse Expect(const wchar_t* verb, const std::string& target, const std::string& body,
                        bool notFoundAllowed);

    HttpClient control_;
};

}  // namespace gui_test
