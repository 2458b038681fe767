#pragma once

#include <windows.h>

// The named event that lets one copy of the program work on a machine at a
// time, in the namespace all logged-on users share. Returns its handle when
// this copy now owns it; null when another copy does, or when the event
// cannot be created (which counts the same).
HANDLE CreateSingleInstanceEvent();
