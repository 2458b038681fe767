// The network side of one package download attempt, on a thread of its own.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "proxy_setting.h"

// What one package download asks of the network.
struct TransferRequest {
    std::wstring url;
    DWORD openFlags = 0;
    // Extra request headers, each ending in "\r\n"; empty for none.
    std::wstring headers;
    // The proxy ("host:port") to go through; nothing for the system's settings.
    std::optional<std::wstring> proxy;
    ProxyCredentials proxyCredentials;
    // WinINet's connect, send and receive time-outs; nothing keeps its own.
    std::optional<DWORD> timeoutMs;
};

// The head of the answer, or why there is none.
struct TransferResponse {
    bool opened = false;
    DWORD error = 0;  // why the open failed
    // Only an answer that came over TLS from the host asked may be stored;
    // another is kept for its status alone (web_request.h).
    bool fromHost = false;
    // Redirects followed, and why an answer is not used, for the log.
    std::vector<std::wstring> notes;
    std::optional<std::wstring> status;         // the HTTP status code, as text
    std::optional<std::wstring> contentLength;  // the Content-Length header, as text
    // What a later attempt needs to go on from where this one ends.
    std::optional<std::wstring> acceptRanges;
    std::optional<std::wstring> etag;
    std::optional<std::wstring> lastModified;
    std::optional<std::wstring> contentRange;
    // The host's Retry-After in seconds, from either of its forms.
    std::optional<uint32_t> retryAfterSeconds;
};

// Body bytes handed over since the last look, and whether the body is over.
struct TransferBody {
    std::string bytes;
    bool finished = false;  // the body is complete, or its read failed
    bool failed = false;
    DWORD error = 0;  // why the read failed
};

enum class TransferWait { Ready, Cancelled, TimedOut };

// The network side of one package download, on a thread of its own.
//
// WinINet's synchronous calls block for as long as the host keeps silent.
// They run on the transfer thread, so that the installation worker can wait
// for them and for the user's cancel request at the same time, and stop
// waiting the moment either comes.
//
// The contract between the two threads:
// - The transfer thread opens every WinINet handle of the download, and it
//   alone uses and closes them, each once, before it ends. No other thread
//   ever sees a handle.
// - The worker learns only what the thread hands over through the shared
//   state: the head of the answer, then body bytes, then the end or the
//   read's error. The thread reads no body byte before the worker asks for
//   the body.
// - When the worker stops waiting (cancel, time-out, or it has seen enough),
//   the transfer is abandoned: the thread closes its handles as soon as its
//   pending call returns, which may be much later, and never touches anything
//   but the shared state. That state lives until both threads have let go.
class PackageTransfer {
public:
    // Starts the thread, which opens the URL at once.
    explicit PackageTransfer(TransferRequest request);
    ~PackageTransfer();
    PackageTransfer(const PackageTransfer&) = delete;
    PackageTransfer& operator=(const PackageTransfer&) = delete;

    // False when the thread could not be created; StartError tells why.
    bool Started() const { return m_started; }
    DWORD StartError() const { return m_startError; }

    // Waits for the head of the answer, the cancel request or the time-out
    // (none: no time-out).
    TransferWait AwaitResponse(HANDLE cancel, std::optional<DWORD> timeoutMs, TransferResponse& response);

    // The body. The first call lets the thread read it. Waits until bytes
    // have arrived or the body is over, at most `pollMs`, or until the cancel
    // request; returns Ready with whatever there is (perhaps nothing).
    TransferWait AwaitBody(HANDLE cancel, DWORD pollMs, TransferBody& body);

    struct State;

private:
    std::shared_ptr<State> m_state;
    bool m_started = false;
    bool m_bodyRequested = false;
    DWORD m_startError = 0;
};
