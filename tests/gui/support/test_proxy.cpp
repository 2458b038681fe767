#include "test_proxy.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "text_encoding.h"

namespace gui_test {
namespace {

std::string SessionVariable(const std::string& name)
{
    const char* value = std::getenv(name.c_str());
    if (!value || !*value)
        throw std::runtime_error(name + " is not set: run inside scripts/wine-session");
    return value;
}

// The session names its files by their Linux paths; Wine shows the root as Z:.
std::filesystem::path SessionFile(const std::string& linuxPath)
{
    return std::filesystem::path("Z:" + linuxPath);
}

}  // namespace

TestProxy::TestProxy(const std::string& name) : address_(uidriver::FromUtf8(SessionVariable("VTA_TEST_PROXY_" + name)))
{
    if (name == "DOWN")
        return;
    log_ = SessionFile(SessionVariable("VTA_TEST_PROXY_" + name + "_LOG"));
    std::error_code error;
    logStart_ = std::filesystem::file_size(log_, error);
    if (error)
        throw std::runtime_error("cannot read the log of the proxy " + name + ": " + log_.string());
}

std::vector<std::string> TestProxy::Tunnels() const
{
    std::vector<std::string> hosts;
    if (log_.empty())
        return hosts;
    std::ifstream log(log_, std::ios::binary);
    log.seekg(static_cast<std::streamoff>(logStart_));
    // tinyproxy's line for each request: "... Request (file descriptor 5): CONNECT localhost:47443 HTTP/1.1"
    const std::string marker = "): CONNECT ";
    for (std::string line; std::getline(log, line);) {
        const size_t at = line.find(marker);
        if (at == std::string::npos)
            continue;
        const size_t host = at + marker.size();
        hosts.push_back(line.substr(host, line.find(' ', host) - host));
    }
    return hosts;
}

TestProxy::Credentials TestProxy::AcceptedCredentials()
{
    return {uidriver::FromUtf8(SessionVariable("VTA_TEST_PROXY_USER")), uidriver::FromUtf8(SessionVariable("VTA_TEST_PROXY_PASSWORD"))};
}

}  // namespace gui_test
