#pragma once

#include <windows.h>

// What assistive technology and a keyboard user get from the dialog beyond
// what the system's controls give them.

// What assistive technology learns of a progress bar. The system's standard
// object for one gives it no name (the static before it is the banner or the
// other bar), no value, and on some systems not even its role. Each bar
// therefore serves an object of its own for WM_GETOBJECT: named by the text
// of its label as it is at that moment, with the role of a progress bar and
// its position in percent as its value; everything else (location, state,
// parent, navigation) is the standard object's.
void ServeAccessibleProgress(HWND bar, HWND label);
// After the text of the bar's label changed: its name did.
void AnnounceProgressName(HWND bar);

// A link control that takes Enter while it has the focus, as Windows' own
// does: Wine's lets the dialog manager have it (the default button's).
void LetLinkTakeEnter(HWND link);

// The status line: assistive technology reads each new text of it when the
// user is not busy (a polite live region).
void MakePoliteLiveRegion(HWND control);
// After the text of such a control changed.
void AnnounceLiveRegion(HWND control);
