// The starts Windows NT 4, 2000, XP and later record themselves: at every start the
// event-log service writes event 6005 of the source "EventLog" into the System event log
// (from NT 4.0 Service Pack 4 on), and at the first start after a shutdown that was not
// clean also 6008.  The log view shows them after c:\winboot.log, as AUTOEXEC.BAT's
// commands, and with them LOG.BAT, never run at start on these systems.
#pragma once
#include <windows.h>

#include <string>

// Whether the running system (its operating-system code) records its starts itself:
// Windows NT 4, 2000, XP and later (codes 10, 11 and 13 to 18).  Windows 95, 98 and ME
// have no event log.
constexpr bool RecordsItsOwnStarts(int code) { return code == 10 || code == 11 || (code >= 13 && code <= 18); }

// The system calls the reading makes.  Windows 95, 98 and ME lack them or have only
// failing stubs, so they are looked up at run time (the module must load there too) and
// null where missing.  Tests replace entries to feed record buffers they build.
struct TEventLogCalls {
  HANDLE(WINAPI *OpenEventLogA)(LPCSTR server, LPCSTR source);
  BOOL(WINAPI *ReadEventLogA)(HANDLE log, DWORD flags, DWORD offset, LPVOID buffer, DWORD size,
                              DWORD *read, DWORD *needed);
  BOOL(WINAPI *CloseEventLog)(HANDLE log);
  // NT only: the local time of a moment by the daylight-saving rule of its own date.
  BOOL(WINAPI *SystemTimeToTzSpecificLocalTime)(LPTIME_ZONE_INFORMATION zone, LPSYSTEMTIME utc,
                                                LPSYSTEMTIME local);
};
// The entries in force, looked up on first use.
TEventLogCalls &EventLogCalls();
// The entries as the system has them.
TEventLogCalls SystemEventLogCalls();

// The starts in the System event log as lines of the log view, oldest first, each ending
// in CR LF: each with its date and time in the user's formats and local time, marked when
// an unexpected shutdown went before it (a 6008 record after its 6005 and before the
// next).  When the log holds no start, or cannot be read, one line says so, with the
// system's reason.  The log is read from its newest record back; reading stops when an
// older start would take the text past MaxBytes: OlderLeftOut then says some exist.
struct TSystemStarts {
  std::string Text;
  bool OlderLeftOut = false;
};
TSystemStarts ReadSystemStarts(int Language, size_t MaxBytes);

// The log view on a system that records its starts: the view of c:\winboot.log (Log; none
// when null) as LogViewText gives it, then a heading and the starts Windows recorded.  The
// whole stays within kLogViewLimit bytes: a part that does not fit loses its oldest lines
// and says so in its first line; where both are long, each has half.
std::string LogViewWithStarts(const std::string *Log, const TSystemStarts &Starts, int Language);
