#include "test_host.h"

#include "text_encoding.h"
#include "url_query.h"

#include <cstdlib>
#include <stdexcept>

namespace gui_test {

namespace {

constexpr wchar_t kControlVariable[] = L"TESTHOST_CONTROL";
constexpr wchar_t kDefaultControlAddress[] = L"http://127.0.0.1:47440";
constexpr DWORD kStatusOk = 200;
constexpr DWORD kStatusNotFound = 404;

std::wstring ControlAddress()
{
    const wchar_t* configured = _wgetenv(kControlVariable);
    return configured && *configured ? configured : kDefaultControlAddress;
}

int ParseCount(const std::string& count)
{
    char* end = nullptr;
    const long value = std::strtol(count.c_str(), &end, 10);
    if (count.empty() || (*end != '\0' && *end != '\n' && *end != '\r'))
        throw std::runtime_error("test host: count is not a number: " + count);
    return static_cast<int>(value);
}

std::optional<std::string> BodyUnlessNotFound(const HttpResponse& response)
{
    if (response.status == kStatusNotFound)
        return std::nullopt;
    return response.body;
}

}  // namespace

TestHost::TestHost() : control_(ControlAddress())
{
}

void TestHost::Reset()
{
    Expect(L"POST", "/reset", {}, false);
}

void TestHost::SetRoute(const std::string& path, const Route& route)
{
    QueryParameters parameters = {{"path", path},
                                  {"status", std::to_string(route.status)},
                                  {"length", route.length.QueryValue()},
                                  {"chunk_delay_ms", std::to_string(route.chunk_delay_ms)},
                                  {"pause_before_ms", std::to_string(route.pause_before_ms)}};
    if (route.chunk != 0)
        parameters.emplace_back("chunk", std::to_string(route.chunk));
    if (route.times != 0)
        parameters.emplace_back("times", std::to_string(route.times));
    if (route.cut_after)
        parameters.emplace_back("cut_after", std::to_string(*route.cut_after));
    if (route.ranges)
        parameters.emplace_back("ranges", "1");
    for (const auto& [name, value] : route.headers)
        parameters.emplace_back("header", name + ": " + value);
    Expect(L"POST", WithQuery("/route", parameters), route.body, false);
}

int TestHost::RequestCount(const std::string& path)
{
    return ParseCount(Expect(L"GET", WithQuery("/requests/count", {{"path", path}}), {}, false).body);
}

std::vector<std::string> TestHost::HeaderOfEachRequest(const std::string& path, const std::string& name)
{
    const std::string lines =
        Expect(L"GET", WithQuery("/requests/headers", {{"path", path}, {"name", name}}), {}, false).body;
    std::vector<std::string> values;
    for (size_t start = 0, end; (end = lines.find('\n', start)) != std::string::npos; start = end + 1)
        values.push_back(lines.substr(start, end - start));
    return values;
}

std::optional<std::string> TestHost::LastRequestBody(const std::string& path)
{
    return BodyUnlessNotFound(Expect(L"GET", WithQuery("/requests/last", {{"path", path}}), {}, true));
}

std::optional<std::string> TestHost::LastRequestHeader(const std::string& path, const std::string& name)
{
    return BodyUnlessNotFound(
        Expect(L"GET", WithQuery("/requests/header", {{"path", path}, {"name", name}}), {}, true));
}

int TestHost::ConnectionCount(const std::string& listener)
{
    return ParseCount(Expect(L"GET", WithQuery("/connections/count", {{"listener", listener}}), {}, false).body);
}

void TestHost::SetListenerOpen(const std::string& name, bool open)
{
    Expect(L"POST", WithQuery("/listener", {{"name", name}, {"state", open ? "open" : "closed"}}), {}, false);
}

HttpResponse TestHost::Expect(const wchar_t* verb, const std::string& target, const std::string& body,
                              bool notFoundAllowed)
{
    HttpResponse response = control_.Send(verb, target, body);
    if (response.status != kStatusOk && !(notFoundAllowed && response.status == kStatusNotFound))
        throw std::runtime_error("test host: " + uidriver::ToUtf8(verb) + " " + target + " answered " +
                                 std::to_string(response.status) + ": " + response.body);
    return response;
}

}  // namespace gui_test
