#include "bootlog/SystemStarts.h"

#include <algorithm>
#include <cstring>

#include "bootlog/BootlogForm.h"
#include "toolkit/SysUtils.h"

TEventLogCalls SystemEventLogCalls() {
  // advapi32 is in the process already (the module imports its registry functions), and
  // kernel32 always is.
  HMODULE advapi32 = GetModuleHandleA("advapi32.dll"), kernel32 = GetModuleHandleA("kernel32.dll");
  return {reinterpret_cast<decltype(TEventLogCalls::OpenEventLogA)>(GetProcAddress(advapi32, "OpenEventLogA")),
          reinterpret_cast<decltype(TEventLogCalls::ReadEventLogA)>(GetProcAddress(advapi32, "ReadEventLogA")),
          reinterpret_cast<decltype(TEventLogCalls::CloseEventLog)>(GetProcAddress(advapi32, "CloseEventLog")),
          reinterpret_cast<decltype(TEventLogCalls::SystemTimeToTzSpecificLocalTime)>(
              GetProcAddress(kernel32, "SystemTimeToTzSpecificLocalTime"))};
}

TEventLogCalls &EventLogCalls() {
  static TEventLogCalls calls = SystemEventLogCalls();
  return calls;
}

namespace {

const DWORD kStarted = 6005;     // "The Event log service was started": once at every start
const DWORD kUnexpected = 6008;  // "The previous system shutdown at ... was unexpected"

// One start as a line of the view, CR LF included, into line (room for 200 characters):
// the moment (seconds since 1970, UTC) in the user's date and time formats, in local time
// by the rule of its own date, or where the system cannot convert it in UTC, saying so.
size_t StartLine(char *line, DWORD seconds, const char *mark) {
  ULONGLONG ticks = (ULONGLONG(seconds) + 11644473600ULL) * 10000000ULL;
  FILETIME file = {DWORD(ticks), DWORD(ticks >> 32)};
  SYSTEMTIME utc, local;
  FileTimeToSystemTime(&file, &utc);
  auto convert = EventLogCalls().SystemTimeToTzSpecificLocalTime;
  if (!convert || !convert(nullptr, &utc, &local)) {
    local = utc;
    mark = " UTC";
  }
  int n = GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &local, nullptr, line, 80);
  line[n ? n - 1 : 0] = ' ';
  n += GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &local, nullptr, line + n, 80);
  size_t size = n ? size_t(n - 1) : 0, markSize = strlen(mark);
  memcpy(line + size, mark, markSize);
  memcpy(line + size + markSize, "\r\n", 2);
  return size + markSize + 2;
}

std::string Heading(int Language, bool olderLeftOut) {
  return Format(Language == 1 ? "Starts recorded by Windows itself%s:\r\n" : "Rechnerstarts, die Windows selbst festgehalten hat%s:\r\n",
                !olderLeftOut ? "" : Language == 1 ? " (older ones are not shown here)" : " (ältere werden hier nicht angezeigt)");
}

// Whether the source name at name (room bytes left in the record) is "EventLog", in any
// case: other sources may use the same event numbers.
bool IsEventLogSource(const char *name, size_t room) {
  static const char kSource[] = "eventlog";
  if (room < sizeof kSource) return false;
  for (size_t i = 0; i < sizeof kSource; ++i) {
    char c = name[i];
    if (c >= 'A' && c <= 'Z') c = char(c + 32);
    if (c != kSource[i]) return false;
  }
  return true;
}

// Collects the starts from records read newest first.  Each line goes into the text
// reversed, character by character; reversing the whole text at the end gives the lines
// oldest first, each the right way round.
class TStartCollector {
 public:
  TStartCollector(int language, size_t maxBytes) : language_(language), maxBytes_(maxBytes) {}

  // False once the text is full: an older start did not fit.
  bool Take(const BYTE *records, DWORD size) {
    for (DWORD at = 0; at + sizeof(EVENTLOGRECORD) <= size;) {
      EVENTLOGRECORD r;
      std::memcpy(&r, records + at, sizeof r);
      if (r.Length < sizeof r || r.Length > size - at) return true;  // not a record: the rest neither
      DWORD number = r.EventID & 0xFFFF;
      if ((number == kStarted || number == kUnexpected) &&
          IsEventLogSource(reinterpret_cast<const char *>(records + at + sizeof r), r.Length - sizeof r)) {
        // A 6008 is logged at the start after the crash: it marks the next 6005 read.
        bool crashed = crashed_;
        crashed_ = number == kUnexpected;
        if (number == kStarted && !Add(r.TimeGenerated, crashed)) return false;
      }
      at += r.Length;
    }
    return true;
  }

  TSystemStarts Result(DWORD failure) {
    TSystemStarts starts;
    starts.Text = reversed_;
    std::reverse(starts.Text.begin(), starts.Text.end());
    if (failure) {
      std::string reason = SysErrorMessage(failure);
      for (char &c : reason)
        if (c == '\r' || c == '\n') c = ' ';
      starts.Text.insert(0, Format(language_ == 1 ? "The System event log cannot be read. %s\r\n"
                                                  : "Das Ereignisprotokoll System kann nicht gelesen werden. %s\r\n",
                                   reason.c_str()));
    } else if (starts.Text.empty()) {
      starts.Text = language_ == 1 ? "No start of the computer is recorded in the System event log.\r\n"
                                   : "Im Ereignisprotokoll System ist kein Rechnerstart verzeichnet.\r\n";
    }
    starts.OlderLeftOut = olderLeftOut_;
    return starts;
  }

 private:
  bool Add(DWORD time, bool crashed) {
    char line[200];
    const char *mark = !crashed ? "" : language_ == 1 ? "  (after an unexpected shutdown)" : "  (nach unerwartetem Herunterfahren)";
    size_t size = StartLine(line, time, mark);
    if (reversed_.size() + size > maxBytes_) {
      olderLeftOut_ = true;
      return false;
    }
    while (size > 0) reversed_ += line[--size];
    return true;
  }

  int language_;
  size_t maxBytes_;
  bool crashed_ = false, olderLeftOut_ = false;
  std::string reversed_;
};

}  // namespace

TSystemStarts ReadSystemStarts(int Language, size_t MaxBytes) {
  TStartCollector starts(Language, MaxBytes);
  const TEventLogCalls &calls = EventLogCalls();
  if (!calls.OpenEventLogA || !calls.ReadEventLogA || !calls.CloseEventLog)
    return starts.Result(ERROR_CALL_NOT_IMPLEMENTED);
  HANDLE log = calls.OpenEventLogA(nullptr, "System");
  if (!log) return starts.Result(GetLastError());
  // Sequentially, never by seeking: NT 4 fails to seek in logs of 2 MB and more.
  const DWORD flags = EVENTLOG_SEQUENTIAL_READ | EVENTLOG_BACKWARDS_READ;
  std::string buffer(0x10000, '\0');
  DWORD failure = 0;
  for (;;) {
    DWORD read = 0, needed = 0;
    if (!calls.ReadEventLogA(log, flags, 0, &buffer[0], DWORD(buffer.size()), &read, &needed)) {
      DWORD code = GetLastError();
      if (code == ERROR_INSUFFICIENT_BUFFER && needed > buffer.size()) {
        buffer.resize(needed);  // a record larger than the buffer: read it again whole
        continue;
      }
      if (code != ERROR_HANDLE_EOF) failure = code;
      break;
    }
    if (read == 0 || read > buffer.size() || !starts.Take(reinterpret_cast<const BYTE *>(buffer.data()), read)) break;
  }
  calls.CloseEventLog(log);
  return starts.Result(failure);
}

std::string LogViewWithStarts(const std::string *Log, const TSystemStarts &Starts, int Language) {
  const size_t gap = 2;  // an empty line between the two parts
  std::string view = Log ? LogViewText(*Log, Language, std::string::npos) + "\r\n" : std::string();
  std::string starts = Heading(Language, Starts.OlderLeftOut) + Starts.Text;
  if (view.size() + starts.size() <= kLogViewLimit) return view + starts;
  // Each part has what the other leaves, and at least half.
  size_t room = std::min(starts.size(), std::max(kLogViewLimit / 2, kLogViewLimit - std::min(view.size(), kLogViewLimit)));
  if (view.size() > kLogViewLimit - room) view = LogViewText(*Log, Language, kLogViewLimit - room - gap) + "\r\n";
  if (starts.size() > room) {
    // The newest starts that fit under the heading that says older ones are left out.
    std::string heading = Heading(Language, true);
    size_t from = Starts.Text.size() - (room - heading.size());
    if (Starts.Text[from - 1] != '\n') from = Starts.Text.find('\n', from) + 1;
    starts = heading + Starts.Text.substr(from);
  }
  return view + starts;
}
