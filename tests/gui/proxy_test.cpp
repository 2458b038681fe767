// Runs through real proxies (the Wine session's tinyproxy instances): the
// system's proxy setting, and /proxy, which every download and the web
// service exchange take.
#include <windows.h>
#include <wininet.h>

#include <algorithm>

#include "system_proxy.h"
#include "test_proxy.h"
#include "unattended_run.h"

namespace gui_test {
namespace {

constexpr char kDownloadHost[] = "localhost:47443";
constexpr char kServiceHost[] = "localhost:47444";

size_t CountOf(const std::vector<std::string>& hosts, const std::string& host)
{
    return static_cast<size_t>(std::count(hosts.begin(), hosts.end(), host));
}

class ThroughProxy : public UnattendedTest {
protected:
    // A /quiet run with these switches (and a log); its exit code.
    DWORD RunLogged(const std::wstring& arguments) { return RunQuietly(L"/quiet /log run.log " + arguments); }

    // The agent alone through this proxy, with these extra switches.
    DWORD DownloadAgentThrough(const TestProxy& proxy, const std::wstring& more = L"")
    {
        host.SetRoute(kAgentPath, Body(SamplePackage("agent.msi")));
        return RunLogged(L"/nopatchmanagement /proxy " + proxy.Address() + L" " + more);
    }

    // A download the proxy stopped: the log says why, nothing was stored or
    // installed, and the host never saw the request.
    void ExpectRefusedDownload(const std::string& why)
    {
        const std::string log = LogText();
        for (const std::string& line : {why, std::string("Error downloading VTA Agent Installer")})
            EXPECT_NE(log.find(line), std::string::npos) << line << "\nin\n" << log;
        EXPECT_FALSE(Files().Exists(kAgentFile));
        EXPECT_FALSE(Files().Exists(kAgentTempFile));
        EXPECT_FALSE(IsInstalled(kAgentProduct));
        EXPECT_EQ(host.RequestCount(kAgentPath), 0);
    }
};

TEST_F(ThroughProxy, TheSystemSettingCarriesEveryDownloadAndTheServiceExchange)
{
    const TestProxy proxy("OPEN");
    const SystemProxySetting system(proxy.Address());
    ServeBothPackages();
    EXPECT_EQ(RunLogged(L""), 0u) << LogText();

    EXPECT_TRUE(IsInstalled(kAgentProduct));
    EXPECT_TRUE(IsInstalled(kPatchProduct));
    // Wine's WinINet sends even localhost through the proxy: nothing went
    // around it.
    const std::vector<std::string> tunnels = proxy.Tunnels();
    EXPECT_EQ(CountOf(tunnels, kDownloadHost), 2u) << testing::PrintToString(tunnels);
    EXPECT_EQ(CountOf(tunnels, kServiceHost), 1u) << testing::PrintToString(tunnels);
    EXPECT_EQ(host.RequestCount(kServicePath), 1);
}

TEST_F(ThroughProxy, SlashProxyCarriesTheWholeRun)
{
    const TestProxy proxy("OPEN");
    ServeBothPackages();
    EXPECT_EQ(RunLogged(L"/proxy " + proxy.Address()), 0u) << LogText();

    EXPECT_TRUE(IsInstalled(kAgentProduct));
    EXPECT_TRUE(IsInstalled(kPatchProduct));
    EXPECT_EQ(proxy.Tunnels(), (std::vector<std::string>{kDownloadHost, kServiceHost, kDownloadHost}));
}

TEST_F(ThroughProxy, AProxyThatRefusesTheTunnelEndsTheRunWithItsStatus)
{
    const TestProxy proxy("REFUSING");
    EXPECT_EQ(DownloadAgentThrough(proxy), 20403u);
    ExpectRefusedDownload("HTTP status 403");
    EXPECT_EQ(proxy.Tunnels(), std::vector<std::string>{kDownloadHost});
}

TEST_F(ThroughProxy, CredentialsOpenTheProxyThatAsksForThem)
{
    const TestProxy proxy("AUTHENTICATING");
    EXPECT_EQ(DownloadAgentThrough(proxy), 20407u);
    ExpectRefusedDownload("HTTP status 407");

    const TestProxy::Credentials accepted = TestProxy::AcceptedCredentials();
    // tinyproxy answers wrong ones with 401.
    EXPECT_EQ(DownloadAgentThrough(proxy, L"/proxyuser " + accepted.user + L" /proxypassword wrong"), 20401u);
    ExpectRefusedDownload("HTTP status 401");

    // The same credentials open the proxy for every request of the run.
    host.Reset();
    ServeBothPackages();
    EXPECT_EQ(RunLogged(L"/proxy " + proxy.Address() + L" /proxyuser " + accepted.user + L" /proxypassword " +
                        accepted.password),
              0u)
        << LogText();
    EXPECT_TRUE(IsInstalled(kAgentProduct));
    EXPECT_TRUE(IsInstalled(kPatchProduct));
    EXPECT_EQ(host.RequestCount(kAgentPath), 1);
    EXPECT_EQ(host.RequestCount(kServicePath), 1);
    const std::string log = LogText();
    const std::string password(accepted.password.begin(), accepted.password.end());
    EXPECT_EQ(log.find(password), std::string::npos) << log;
    EXPECT_NE(log.find("/proxypassword ***"), std::string::npos) << log;
    EXPECT_NE(log.find("/proxyuser proxy-user"), std::string::npos) << log;
}

// Nobody listens on the proxy's port: WinINet's "cannot connect", which
// may pass, so it is tried five times.
TEST_F(ThroughProxy, AProxyThatIsDownEndsTheRunWithCannotConnectAfterFiveAttempts)
{
    const TestProxy proxy("DOWN");
    EXPECT_EQ(DownloadAgentThrough(proxy), static_cast<DWORD>(ERROR_INTERNET_CANNOT_CONNECT));
    ExpectRefusedDownload("12029");
    const std::string log = LogText();
    for (int next = 2; next <= 5; ++next) {
        const std::string retry = "Download failed (error 12029); trying again in ";
        const std::string attempt = " s, attempt " + std::to_string(next) + " of 5";
        const size_t at = log.find(attempt);
        EXPECT_TRUE(at != std::string::npos && log.rfind(retry, at) != std::string::npos) << attempt << "\nin\n" << log;
    }
}

}  // namespace
}  // namespace gui_test
