#include "run_setup.h"

#include "afxwin.h"
#include "ansi_text.h"
#include "build_config.h"
#include "install_sequence.h"
#include "installer_names.h"
#include "logging_host.h"
#include "windows_bitness.h"

void DetermineInstallerNames(InstallationFiles& files)
{
    const InstallerNames names = DeriveInstallerNames(AfxGetExeBaseName().str(), RunningOn64BitWindows());
    files.m_strSetupToken = names.setupToken;
    files.m_strAgentInstallerFile = ThroughThreadAnsi(names.agentInstallerFile);
}

InstallationOptions InstallationOptionsFor(const CommandLineOptions& options,
                                           const std::vector<Sha256Digest>& packageSigners)
{
    InstallationOptions installation;
    installation.packageSigners = packageSigners;
    installation.suppressRestart = options.noRestart;
    if (options.proxy)
        installation.proxy =
            ProxySetting{*options.proxy, {options.proxyUser.value_or(L""), options.proxyPassword.value_or(L"")}};
    if (options.mode == UiMode::Interactive)
        return installation;
    installation.unattended = true;
    installation.agentLaunch = options.mode == UiMode::Quiet ? AgentLaunch::MsiexecQuiet : AgentLaunch::MsiexecPassive;
    installation.networkTimeoutMs = kUnattendedTimeoutMs;
    installation.retryPassingFailures = true;
    if (options.logFile)
        installation.agentInstallerLog = *options.logFile + L".agent.log";
    return installation;
}

RunResult RunInstallation(InstallationHost& host, InstallationFiles& files, const InstallationOptions& options,
                          LogFile* log)
{
    if (!log)
        return InstallSequence(host, files, options).Run();
    LoggingHost logging(host, *log);
    return InstallSequence(logging, files, options).Run();
}
