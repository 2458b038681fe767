// The rules for trying a failed package download again.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The unattended modes' rules for a package download that fails on the
// way: which failures pass and are worth another attempt, and when it may
// go on from the bytes already kept. How long it waits is its RetryPolicy's.
namespace download_retry {

// Whether a failed attempt, by its exit code (exit_codes), may succeed when
// tried again: a body cut short, a time-out, no connection, a connection
// reset or aborted, or an HTTP status that says "later" (408, 429, 500, 502,
// 503, 504). Every other failure lasts: another 4xx, a certificate, the URL,
// the local file, a cancel, a refused package.
bool IsPassing(uint32_t exitCode);

// Retry-After as delta-seconds (digits only); nothing for any other form
// (an HTTP date is the caller's to convert).
std::optional<uint32_t> DeltaSeconds(const std::wstring& text);

// The validator a resumed request may send as If-Range, from the answer's
// Accept-Ranges, ETag and Last-Modified: nothing unless the host offers
// "bytes" ranges and a strong ETag or a Last-Modified date, free of
// control characters.
std::optional<std::wstring> ResumeValidator(const std::optional<std::wstring>& acceptRanges,
                                            const std::optional<std::wstring>& etag,
                                            const std::optional<std::wstring>& lastModified);

// Whether a 206's Content-Range ("bytes first-last/total") continues a body
// of `total` bytes of which `kept` are stored: it starts at `kept`, ends at
// the last byte, holds at least one byte, and names the same total.
bool ContinuesBody(const std::wstring& contentRange, uint64_t kept, uint64_t total);

// The log line of a retry: what failed after how many bytes, the wait, the
// next attempt of `attempts`, and whether it goes on from the bytes kept.
std::wstring RetryLine(uint32_t exitCode, uint64_t received, uint64_t total, uint32_t waitMs, int nextAttempt,
                       int attempts, bool resumes);

}  // namespace download_retry
