// The transfer thread: it opens the URL, reads the answer's head and body, and hands them over.
#include "package_transfer.h"

#include <atomic>
#include <utility>

#include "afx_sync.h"
#include "afx_thread.h"
#include "download_retry.h"
#include "internet_handle.h"
#include "proxy_setting.h"
#include "web_request.h"

namespace {

constexpr wchar_t kUserAgent[] = L"Mozilla/4.0 (compatible) Poison";
constexpr DWORD kChunkBytes = 1024;
constexpr DWORD kHeaderTextChars = 512;  // a 1024-byte buffer
// The worker is woken when this much has arrived; smaller amounts wait for
// its next look, so a fast download does not cost a wake-up per chunk.
constexpr size_t kHandOverBytes = 64 * 1024;
// Beyond this much unread by the worker, the thread waits for it.
constexpr size_t kMaxPendingBytes = 1024 * 1024;

}  // namespace

struct PackageTransfer::State {
    explicit State(TransferRequest r) : request(std::move(r)) {}

    const TransferRequest request;
    // Written by the thread before responseReady is set, read by the worker after.
    TransferResponse response;
    CEvent responseReady{FALSE, TRUE};
    CEvent bodyWanted{FALSE, TRUE};
    CEvent abandonedEvent{FALSE, TRUE};
    std::atomic<bool> abandoned{false};
    CEvent dataReady;
    CEvent spaceFree;

    CCriticalSection lock;
    // Under lock.
    TransferBody pending;
    bool threadWaitsForSpace = false;
};

namespace {

using State = PackageTransfer::State;

// The handles of one download, owned by the transfer thread. Declared so the
// request and its connection close before the internet handle.
struct Connection {
    InternetHandle internet;
    WebAnswer answer;
};

std::optional<std::wstring> QueryHeaderText(HINTERNET request, DWORD query)
{
    wchar_t buffer[kHeaderTextChars] = {};
    DWORD size = sizeof(buffer) - sizeof(wchar_t);
    if (!::HttpQueryInfoW(request, query, buffer, &size, nullptr))
        return std::nullopt;
    return std::wstring(buffer);
}

// A date header's time, as a file time; nothing when the answer has no such
// header or it holds no HTTP date.
std::optional<ULONGLONG> HeaderFileTime(HINTERNET request, DWORD query)
{
    SYSTEMTIME time = {};
    DWORD size = sizeof(time);
    FILETIME fileTime = {};
    if (!::HttpQueryInfoW(request, query | HTTP_QUERY_FLAG_SYSTEMTIME, &time, &size, nullptr) ||
        !::SystemTimeToFileTime(&time, &fileTime))
        return std::nullopt;
    return (static_cast<ULONGLONG>(fileTime.dwHighDateTime) << 32) | fileTime.dwLowDateTime;
}

// Retry-After in seconds: as given, or from an HTTP date, counted from the
// answer's own Date (the host's clock) where it has one.
std::optional<uint32_t> RetryAfterSeconds(HINTERNET request)
{
    const std::optional<std::wstring> text = QueryHeaderText(request, HTTP_QUERY_RETRY_AFTER);
    if (!text)
        return std::nullopt;
    if (const auto seconds = download_retry::DeltaSeconds(*text))
        return seconds;
    const std::optional<ULONGLONG> retryAt = HeaderFileTime(request, HTTP_QUERY_RETRY_AFTER);
    if (!retryAt)
        return std::nullopt;
    std::optional<ULONGLONG> now = HeaderFileTime(request, HTTP_QUERY_DATE);
    if (!now) {
        FILETIME system = {};
        ::GetSystemTimeAsFileTime(&system);
        now = (static_cast<ULONGLONG>(system.dwHighDateTime) << 32) | system.dwLowDateTime;
    }
    constexpr ULONGLONG kFileTimeUnitsPerSecond = 10000000;
    const ULONGLONG seconds = *retryAt > *now ? (*retryAt - *now) / kFileTimeUnitsPerSecond : 0;
    return static_cast<uint32_t>(seconds < UINT32_MAX ? seconds : UINT32_MAX);
}

TransferResponse Open(const TransferRequest& request, Connection& connection)
{
    // A failed open leaves a null handle, which makes the request fail.
    connection.internet = OpenInternetSession(kUserAgent, request.proxy);
    if (connection.internet && request.timeoutMs)
        SetNetworkTimeouts(connection.internet.get(), *request.timeoutMs);

    WebRequest web;
    web.url = request.url;
    web.headers = request.headers;
    web.flags = request.openFlags;
    web.proxyCredentials = request.proxyCredentials;
    SendWebRequest(connection.internet.get(), web, connection.answer);

    TransferResponse response;
    response.notes = std::move(connection.answer.notes);
    const HINTERNET answer = connection.answer.request.get();
    if (!answer) {
        response.error = connection.answer.error;
        return response;
    }
    response.opened = true;
    response.fromHost = connection.answer.fromHost;
    response.status = QueryHeaderText(answer, HTTP_QUERY_STATUS_CODE);
    response.contentLength = QueryHeaderText(answer, HTTP_QUERY_CONTENT_LENGTH);
    response.acceptRanges = QueryHeaderText(answer, HTTP_QUERY_ACCEPT_RANGES);
    response.etag = QueryHeaderText(answer, HTTP_QUERY_ETAG);
    response.lastModified = QueryHeaderText(answer, HTTP_QUERY_LAST_MODIFIED);
    response.contentRange = QueryHeaderText(answer, HTTP_QUERY_CONTENT_RANGE);
    response.retryAfterSeconds = RetryAfterSeconds(answer);
    return response;
}

// Waits until the worker has taken enough of the pending bytes; false when
// the transfer was abandoned meanwhile.
bool AwaitSpace(State& state)
{
    for (;;) {
        {
            CSingleLock hold(state.lock);
            state.threadWaitsForSpace = state.pending.bytes.size() >= kMaxPendingBytes;
            if (!state.threadWaitsForSpace)
                return true;
        }
        const HANDLE waits[] = {state.abandonedEvent.m_hObject, state.spaceFree.m_hObject};
        if (::WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0 + 1)
            return false;
    }
}

void ReadBody(State& state, HINTERNET request)
{
    char chunk[kChunkBytes];
    for (;;) {
        DWORD read = 0;
        const BOOL succeeded = ::InternetReadFile(request, chunk, sizeof(chunk), &read);
        const DWORD error = succeeded ? 0 : ::GetLastError();
        if (state.abandoned)
            return;

        bool handOver = false;
        bool finished = false;
        {
            CSingleLock hold(state.lock);
            TransferBody& body = state.pending;
            const size_t before = body.bytes.size();
            if (!succeeded) {
                body.finished = body.failed = true;
                body.error = error;
            } else if (read == 0) {
                body.finished = true;
            } else {
                body.bytes.append(chunk, read);
            }
            finished = body.finished;
            handOver = finished || (before < kHandOverBytes && body.bytes.size() >= kHandOverBytes);
        }
        if (handOver)
            state.dataReady.SetEvent();
        if (finished || !AwaitSpace(state))
            return;
    }
}

UINT TransferThreadProc(LPVOID parameter)
{
    const std::unique_ptr<std::shared_ptr<State>> holder(static_cast<std::shared_ptr<State>*>(parameter));
    State& state = **holder;

    Connection connection;
    state.response = Open(state.request, connection);
    state.responseReady.SetEvent();
    if (!connection.answer.request)
        return 0;

    const HANDLE waits[] = {state.abandonedEvent.m_hObject, state.bodyWanted.m_hObject};
    if (::WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0 + 1)
        ReadBody(state, connection.answer.request.get());
    return 0;
}

}  // namespace

PackageTransfer::PackageTransfer(TransferRequest request) : m_state(std::make_shared<State>(std::move(request)))
{
    auto* threadShare = new std::shared_ptr<State>(m_state);
    m_started = AfxBeginThread(&TransferThreadProc, threadShare) != nullptr;
    if (!m_started) {
        m_startError = ::GetLastError();
        delete threadShare;
    }
}

PackageTransfer::~PackageTransfer()
{
    m_state->abandoned = true;
    m_state->abandonedEvent.SetEvent();
}

TransferWait PackageTransfer::AwaitResponse(HANDLE cancel, std::optional<DWORD> timeoutMs, TransferResponse& response)
{
    const HANDLE waits[] = {cancel, m_state->responseReady.m_hObject};
    const DWORD woken = ::WaitForMultipleObjects(2, waits, FALSE, timeoutMs.value_or(INFINITE));
    if (woken == WAIT_OBJECT_0)
        return TransferWait::Cancelled;
    if (woken != WAIT_OBJECT_0 + 1)
        return TransferWait::TimedOut;
    response = m_state->response;
    return TransferWait::Ready;
}

TransferWait PackageTransfer::AwaitBody(HANDLE cancel, DWORD pollMs, TransferBody& body)
{
    if (!m_bodyRequested) {
        m_state->bodyWanted.SetEvent();
        m_bodyRequested = true;
    }
    const HANDLE waits[] = {cancel, m_state->dataReady.m_hObject};
    if (::WaitForMultipleObjects(2, waits, FALSE, pollMs) == WAIT_OBJECT_0)
        return TransferWait::Cancelled;

    bool threadWaits = false;
    {
        CSingleLock hold(m_state->lock);
        TransferBody& pending = m_state->pending;
        body.bytes.clear();
        body.bytes.swap(pending.bytes);
        body.finished = pending.finished;
        body.failed = pending.failed;
        body.error = pending.error;
        threadWaits = m_state->threadWaitsForSpace;
    }
    if (threadWaits)
        m_state->spaceFree.SetEvent();
    return TransferWait::Ready;
}
