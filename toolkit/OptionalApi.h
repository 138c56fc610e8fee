// System functions that not every system of the module has (the first release of
// Windows 95 lacks both): looked up at run time, so that the module loads everywhere, and
// null where the system lacks them; the callers fall back to older means.  Tests clear an
// entry to take the fallback on a system that has the function.
#pragma once
#include <windows.h>

#include <commctrl.h>

struct TOptionalApi {
  BOOL(WINAPI *TrackMouseEvent)(LPTRACKMOUSEEVENT track);                    // user32
  BOOL(WINAPI *InitCommonControlsEx)(const INITCOMMONCONTROLSEX *classes);  // comctl32 4.70
};

// The entries in force, looked up on first use.
TOptionalApi &OptionalApi();
// The entries as the system has them.
TOptionalApi SystemOptionalApi();

// Registers the common-control window classes (tooltips): InitCommonControlsEx where it
// exists, else InitCommonControls, which registers all of them.
void InitToolTipClass();
