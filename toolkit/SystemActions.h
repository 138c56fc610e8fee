// The system actions the module takes: restarting Windows, adjusting the privileges of
// the process and starting other programs.  They pass through one table so that tests can
// record them instead of restarting the machine; the table holds the system's functions
// unless a test has replaced them.
#pragma once
#include <windows.h>

struct TSystemActions {
  BOOL(WINAPI *OpenProcessToken)(HANDLE process, DWORD access, PHANDLE token);
  BOOL(WINAPI *LookupPrivilegeValueA)(LPCSTR system, LPCSTR name, PLUID luid);
  BOOL(WINAPI *AdjustTokenPrivileges)(HANDLE token, BOOL disableAll, PTOKEN_PRIVILEGES newState,
                                      DWORD bufferLength, PTOKEN_PRIVILEGES previousState,
                                      PDWORD returnLength);
  BOOL(WINAPI *CloseHandle)(HANDLE handle);
  BOOL(WINAPI *ExitWindowsEx)(UINT flags, DWORD reason);
  HINSTANCE(WINAPI *ShellExecuteA)(HWND parent, LPCSTR verb, LPCSTR file, LPCSTR parameters,
                                   LPCSTR directory, INT show);
};

// The table in force.
TSystemActions &SystemActions();
// The system's own functions.
TSystemActions RealSystemActions();
