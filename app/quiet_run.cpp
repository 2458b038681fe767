#include "quiet_run.h"

#include "exit_codes.h"
#include "run_setup.h"
#include "single_instance.h"
#include "windowless_host.h"

DWORD RunQuietly(const RunChoices& choices, LogFile* log)
{
    const InstanceClaim instance = ClaimSingleInstance(log);
    if (instance.anotherCopyRuns) {
        if (log)
            log->Write(L"Another copy of the program is running");
        return exit_codes::kAlreadyRunning;
    }
    WindowlessHost windowless;
    const RunResult result = RunInstallation(windowless, PlanPackages(choices, ThisRunPlace()), choices, log);
    if (instance.event)
        ::CloseHandle(instance.event);
    return result.exitCode;
}
