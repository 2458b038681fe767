// Which download failures pass, and when to resume.
#include "download_retry.h"

#include <algorithm>
#include <cwchar>

#include "download_exit_codes.h"

namespace download_retry {
namespace {

// WinINet's errors, by number: this file is built without its headers.
constexpr uint32_t kTimeout = 12002;
constexpr uint32_t kCannotConnect = 12029;
constexpr uint32_t kConnectionAborted = 12030;
constexpr uint32_t kConnectionReset = 12031;

bool IsLaterStatus(uint32_t status)
{
    switch (status) {
    case 408: case 429: case 500: case 502: case 503: case 504:
        return true;
    default:
        return false;
    }
}

std::optional<uint64_t> Digits(const std::wstring& text, size_t& at)
{
    const size_t start = at;
    uint64_t value = 0;
    while (at < text.size() && text[at] >= L'0' && text[at] <= L'9') {
        if (value > (UINT64_MAX - 9) / 10)
            return std::nullopt;
        value = value * 10 + static_cast<uint64_t>(text[at++] - L'0');
    }
    return at > start ? std::optional<uint64_t>(value) : std::nullopt;
}

bool Expect(const std::wstring& text, size_t& at, wchar_t c)
{
    if (at >= text.size() || text[at] != c)
        return false;
    ++at;
    return true;
}

}  // namespace

bool IsPassing(uint32_t exitCode)
{
    switch (exitCode) {
    case exit_codes::kReadFailed:
    case kTimeout:
    case kCannotConnect:
    case kConnectionAborted:
    case kConnectionReset:
        return true;
    default:
        return exitCode > exit_codes::kHttpStatusBase && exitCode < exit_codes::kHttpStatusBase + 600 &&
               IsLaterStatus(exitCode - exit_codes::kHttpStatusBase);
    }
}

std::optional<uint32_t> DeltaSeconds(const std::wstring& text)
{
    size_t at = 0;
    const auto seconds = Digits(text, at);
    if (!seconds || at != text.size())
        return std::nullopt;
    return static_cast<uint32_t>(*seconds < UINT32_MAX ? *seconds : UINT32_MAX);
}

std::optional<std::wstring> ResumeValidator(const std::optional<std::wstring>& acceptRanges,
                                            const std::optional<std::wstring>& etag,
                                            const std::optional<std::wstring>& lastModified)
{
    if (!acceptRanges || acceptRanges->find(L"bytes") == std::wstring::npos)
        return std::nullopt;
    // The host's text goes into a request header of ours: nothing in it may
    // end that header or begin another.
    const auto usable = [](const std::optional<std::wstring>& text) {
        return text && !text->empty() &&
               std::none_of(text->begin(), text->end(), [](wchar_t c) { return c < L' ' || c == 0x7F; });
    };
    // If-Range takes only a strong entity tag.
    if (usable(etag) && etag->compare(0, 2, L"W/") != 0)
        return etag;
    if (usable(lastModified))
        return lastModified;
    return std::nullopt;
}

bool ContinuesBody(const std::wstring& contentRange, uint64_t kept, uint64_t total)
{
    const std::wstring prefix = L"bytes ";
    if (contentRange.compare(0, prefix.size(), prefix) != 0)
        return false;
    size_t at = prefix.size();
    const auto first = Digits(contentRange, at);
    if (!first || !Expect(contentRange, at, L'-'))
        return false;
    const auto last = Digits(contentRange, at);
    if (!last || !Expect(contentRange, at, L'/'))
        return false;
    const auto whole = Digits(contentRange, at);
    // A range whose first byte lies after its last ("bytes 10-9/10") holds nothing.
    return whole && at == contentRange.size() && *first == kept && *first <= *last && *whole == total &&
           *last + 1 == total;
}

std::wstring RetryLine(uint32_t exitCode, uint64_t received, uint64_t total, uint32_t waitMs, int nextAttempt,
                       int attempts, bool resumes)
{
    std::wstring line = received == 0 ? std::wstring(L"Download failed")
                                       : L"Download interrupted after " + std::to_wstring(received) +
                                             (total > 0 ? L" of " + std::to_wstring(total) : std::wstring()) +
                                             L" bytes";
    wchar_t seconds[32];
    std::swprintf(seconds, 32, L"%.1f", waitMs / 1000.0);
    line += L" (error " + std::to_wstring(exitCode) + L"); " + (resumes ? L"resuming" : L"trying again") + L" in " +
            seconds + L" s, attempt " + std::to_wstring(nextAttempt) + L" of " + std::to_wstring(attempts);
    return line;
}

}  // namespace download_retry
