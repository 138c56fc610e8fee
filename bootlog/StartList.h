// Windows ME starts without running the commands of AUTOEXEC.BAT, so the hook there never
// runs LOG.BAT on it.  What it does run at every start, before anyone logs on, are the
// programs named under HKEY_LOCAL_MACHINE\...\RunServices: the tip names LOG.BAT there,
// run by the system's command interpreter, in a value of its own.
#pragma once
#include <string>

// Where the running system (its operating-system code) starts LOG.BAT through the start
// list: Windows ME (code 12) only.  Windows 95 and 98 run AUTOEXEC.BAT, and a second entry
// per start would be wrong.
constexpr bool StartsThroughStartList(int code) { return code == 12; }

// The start list under HKEY_LOCAL_MACHINE and the tip's value in it.
extern const char *const kStartListKey;
extern const char *const kStartListValue;

// The command that runs Folder's LOG.BAT at start: the command interpreter (COMSPEC, else
// COMMAND.COM in the Windows folder) with "/c" and LOG.BAT's path as the hook line of
// AUTOEXEC.BAT names it (by its short 8.3 name where DOS cannot name the folder as it
// stands).  Raises DosLogBatPath's EFCreateError when the folder has no such name.
std::string StartListCommand(const std::string &Folder);

// The value after an OK on the system with code OsCode (nothing on any other than
// Windows ME): the box checked (Wanted) and a folder chosen, it runs that folder's
// LOG.BAT; the box checked and the dialog cancelled, it stays as it is; the box unchecked,
// it is removed.  Raises ERegistryException naming the value and the system's reason.
void UpdateStartListEntry(int OsCode, bool Wanted, bool Chosen, const std::string &Folder);
