#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace gui_test {

// One of the loopback proxies that scripts/wine-session runs, by the name
// of its variable: "OPEN", "REFUSING" (403 to a CONNECT to the test hosts),
// "AUTHENTICATING" (407 without Credentials()), "DOWN" (nobody listens).
// Throws std::runtime_error outside such a session.
class TestProxy {
public:
    explicit TestProxy(const std::string& name);

    // "127.0.0.1:port", as /proxy and the system setting take it.
    const std::wstring& Address() const { return address_; }
    // The hosts ("host:port") it was asked to tunnel to (CONNECT), in order,
    // since this object was made.
    std::vector<std::string> Tunnels() const;

    struct Credentials {
        std::wstring user;
        std::wstring password;
    };
    // What the authenticating proxy accepts.
    static Credentials AcceptedCredentials();

private:
    std::wstring address_;
    std::filesystem::path log_;  // empty for a proxy that is down
    std::uintmax_t logStart_ = 0;
};

}  // namespace gui_test
