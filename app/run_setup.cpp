#include "run_setup.h"

#include "build_config.h"
#include "install_sequence.h"
#include "logging_host.h"
#include "system_directory.h"

RunChoices RunChoicesFor(const CommandLineOptions& options, const std::vector<Sha256Digest>& packageSigners)
{
    RunChoices choices;
    choices.patchManagement = options.patchManagement;
    choices.packageSigners = packageSigners;
    choices.suppressRestart = options.noRestart;
    if (options.proxy)
        choices.proxy =
            ProxySetting{*options.proxy, {options.proxyUser.value_or(L""), options.proxyPassword.value_or(L"")}};
    choices.agentProxy = choices.proxy;
    if (options.layoutFolder)
        choices.layoutFolder = FullPath(*options.layoutFolder);
    if (options.sourceFolder)
        choices.sourceFolder = FullPath(*options.sourceFolder);
    if (options.mode == UiMode::Interactive)
        return choices;
    choices.unattended = true;
    choices.agentLaunch = options.mode == UiMode::Quiet ? AgentLaunch::MsiexecQuiet : AgentLaunch::MsiexecPassive;
    choices.networkTimeoutMs = kUnattendedTimeoutMs;
    choices.retryPassingFailures = true;
    if (options.logFile)
        choices.agentInstallerLog = *options.logFile + L".agent.log";
    return choices;
}

RunResult RunInstallation(InstallationHost& host, const PackagePlan& plan, const RunChoices& choices, LogFile* log)
{
    if (!log)
        return InstallSequence(host, plan, choices).Run();
    LoggingHost logging(host, *log);
    return InstallSequence(logging, plan, choices).Run();
}
