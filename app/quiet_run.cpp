#include "quiet_run.h"

#include "exit_codes.h"
#include "run_setup.h"
#include "single_instance.h"
#include "windowless_host.h"

DWORD RunQuietly(const CommandLineOptions& options, const InstallationOptions& installation, LogFile* log)
{
    const InstanceClaim instance = ClaimSingleInstance(log);
    if (instance.anotherCopyRuns) {
        if (log)
            log->Write(L"Another copy of the program is running");
        return exit_codes::kAlreadyRunning;
    }
    InstallationFiles files;
    DetermineInstallerNames(files);
    WindowlessHost windowless(options);
    const RunResult result = RunInstallation(windowless, files, installation, log);
    if (instance.event)
        ::CloseHandle(instance.event);
    return result.exitCode;
}
