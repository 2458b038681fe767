#pragma once

#include <windows.h>

#include "log_file.h"

// The named event that lets one copy of the program work on a machine at a
// time, in the namespace all logged-on users share, where anybody may
// create it: only an event that SYSTEM or the Administrators group owns
// (what an elevated copy, of any version, creates) means another copy runs.
struct InstanceClaim {
    // Ours while this copy runs; null when another copy runs, or when
    // somebody else holds the name (the run then goes on unguarded).
    HANDLE event = nullptr;
    bool anotherCopyRuns = false;
};

// Claims the event, with security that lets only SYSTEM and Administrators
// open it. An event of another owner, or one that cannot be opened, is
// noted in `log` (when there is one) and claims nothing.
InstanceClaim ClaimSingleInstance(LogFile* log);
