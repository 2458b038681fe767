// What a run was asked to do, taken before it starts.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "proxy_setting.h"
#include "sha256.h"

// How the system's msiexec installs the agent package: with its whole
// interface (the dialog), none (quiet) or only its progress (passive).
enum class AgentLaunch { MsiexecFull, MsiexecQuiet, MsiexecPassive };

// The run's choices as one value: the packages ticked, the mode's ways, the
// proxies and their credentials, the log. Taken from the dialog or the
// command line before the run starts, and never written while it runs.
struct RunChoices {
    // The agent is always installed; Patch Management when ticked.
    bool patchManagement = true;
    // The proxy the agent download goes through, with its credentials: the
    // dialog's, or that of /proxy. Nothing: the system's settings.
    std::optional<ProxySetting> agentProxy;
    AgentLaunch agentLaunch = AgentLaunch::MsiexecFull;
    // The unattended modes, for deployment tools: an installer's 3010
    // (installed, restart pending) lets the run go on and becomes its exit
    // code at the end, 1641 (restart started) ends it at once, and each
    // installer waits while another installation runs (1618).
    bool unattended = false;
    // /norestart: msiexec is told never to restart the machine.
    bool suppressRestart = false;
    // The proxy of /proxy, which carries the web service exchange and the
    // Patch Management download. Nothing: the system's settings.
    std::optional<ProxySetting> proxy;
    // Where msiexec writes its verbose log of the agent's installation; empty
    // for none.
    std::wstring agentInstallerLog;
    // A bound on every wait for the network. Nothing keeps WinINet's own
    // time-outs, as the interactive mode does: a person can cancel there.
    std::optional<DWORD> networkTimeoutMs;
    // Whether failures that pass (a cut connection, a busy host) are tried
    // again, as wait_policies.h says: a package download going on from the
    // bytes kept where the host allows, the web service exchange after a
    // pause. The interactive mode makes one attempt per package and asks
    // the service without pausing: a person is there to try again.
    bool retryPassingFailures = false;
    // The publishers whose packages may run: the SHA-256 of each allowed
    // signing certificate. Empty: packages are run unchecked.
    std::vector<Sha256Digest> packageSigners;
    // /layout: the folder, as a full path, the run fetches every package
    // into, installing nothing; empty for a run that installs.
    std::wstring layoutFolder;
    // /source: the layout, as a full path, the run installs from without the
    // network; empty for a run that downloads.
    std::wstring sourceFolder;
};
