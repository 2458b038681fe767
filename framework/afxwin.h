#pragma once

// The application framework: the small set of MFC-style classes the program
// is written against, as a thin layer over Win32.
#include "afx_app.h"
#include "afx_controls.h"
#include "afx_dialog.h"
#include "afx_gdi.h"
#include "afx_string.h"
#include "afx_sync.h"
#include "afx_thread.h"
#include "afx_wnd.h"
