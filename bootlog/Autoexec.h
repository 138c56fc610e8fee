// The rules for c:\AUTOEXEC.BAT: which lines call a LOG.BAT, the line that calls one, and
// the file's text with such a line added or with every one removed.  AUTOEXEC.BAT runs
// before Windows, under DOS: what is written into it must read the same there.
#pragma once
#include <string>

// The root of the boot drive, and the AUTOEXEC.BAT there.
std::string BootDriveRoot();
std::string AutoexecPath();

// Whether a line of AUTOEXEC.BAT calls a LOG.BAT: it names a file whose name is exactly
// LOG.BAT (any case, in any folder or none, with or without "@call"), not one whose name
// merely ends in it (CATALOG.BAT, MYLOG.BAT).
bool IsLogBatHook(const std::string &line);

// The file a hook line calls as the start-up interpreter reads it (in the Windows code
// page, with the boot drive's root for a path without drive or folder); "" for a line that
// is no hook.
std::string HookedLogBat(const std::string &line);

// Whether a hook line calls the LOG.BAT in Folder, by its long or its short name.
bool HookCallsFolder(const std::string &line, const std::string &Folder);

// LOG.BAT in Folder ("C:\TOOLS" and the root "C:\" alike, with one backslash between).
std::string LogBatPath(const std::string &Folder);

// Whether Path is a drive, a colon and 8.3 names that real-mode DOS can use as they are.
bool IsPlainDosPath(const std::string &Path);

// Path as DOS reads it (in the DOS code page), or "" when DOS would read something else:
// a character the DOS code page lacks or replaces, or a name that is not a plain 8.3 name.
std::string DosPathOf(const std::string &Path);

// Folder's LOG.BAT as DOS names it, in the DOS code page: a folder DOS cannot name as it
// stands by its short name; where that fails too, raises EFCreateError naming AUTOEXEC.BAT.
std::string DosLogBatPath(const std::string &Folder);

// The line of AUTOEXEC.BAT that calls Folder's LOG.BAT: "@call " and DosLogBatPath.
std::string HookLine(const std::string &Folder);

// The text of AUTOEXEC.BAT with Hook as a line of its own where the start-up interpreter
// still reads it: at the end, or right before the first end-of-file mark (Ctrl+Z), which
// stops the interpreter.  The lines before the mark end in CR LF; the mark and whatever
// follows it stay byte for byte.
std::string AutoexecWithHook(const std::string &Text, const std::string &Hook);

// The text of AUTOEXEC.BAT calling Folder's LOG.BAT at start: Text itself when a hook the
// start-up interpreter reads (one before the first end-of-file mark) calls it already;
// otherwise every hook gives way to the line MakeHook() answers, at the place of the first
// one read, or where AutoexecWithHook puts it when none is read.  MakeHook is asked only
// when a hook has to be written.
std::string AutoexecCallingFolder(const std::string &Text, const std::string &Folder,
                                  std::string (*MakeHook)(const std::string &Folder));

// The text of AUTOEXEC.BAT without any line that calls a LOG.BAT; every line kept ends in
// CR LF.
std::string AutoexecWithoutHooks(const std::string &Text);
