#include "toolkit/SystemActions.h"

#include <shellapi.h>

TSystemActions RealSystemActions() {
  TSystemActions a;
  a.OpenProcessToken = ::OpenProcessToken;
  a.LookupPrivilegeValueA = ::LookupPrivilegeValueA;
  a.AdjustTokenPrivileges = ::AdjustTokenPrivileges;
  a.CloseHandle = ::CloseHandle;
  a.ExitWindowsEx = ::ExitWindowsEx;
  a.ShellExecuteA = ::ShellExecuteA;
  return a;
}

TSystemActions &SystemActions() {
  static TSystemActions actions = RealSystemActions();
  return actions;
}
