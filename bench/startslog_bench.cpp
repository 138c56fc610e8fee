// How long the log view takes to open on Windows XP over a System event log of 100,000
// records (about 20 MB, a busy server's), fed through the event-log seam as the service
// hands them out: from the click to the view shown, with few starts in it (the whole log
// is read) and with many (reading stops when the view is full).  Beside it, the bare
// feeding of the same records, and the reads the window makes when it opens (none).
// Prints; asserts nothing.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "bootlog/BootlogForm.h"
#include "bootlog/SystemStarts.h"
#include "module/ModuleLifetime.h"
#include "template/ModulState.h"
#include "toolkit/Dialogs.h"

namespace {

const int kRecords = 100000;
const size_t kRecordSize = 200;

// The log, oldest record first, one record after another; where each starts.
std::string g_log;
std::vector<size_t> g_starts;
size_t g_next = 0;  // records not yet handed out, counted from the oldest
int g_reads = 0;

HANDLE WINAPI Open(LPCSTR, LPCSTR) {
  g_next = g_starts.size();
  return HANDLE(&g_log);
}

// Backwards, as the tip reads: the newest records not yet handed out that fit.
BOOL WINAPI Read(HANDLE, DWORD, DWORD, LPVOID buffer, DWORD size, DWORD *read, DWORD *needed) {
  ++g_reads;
  size_t last = g_next, first = g_next;
  size_t end = last == g_starts.size() ? g_log.size() : g_starts[last];
  while (first > 0 && end - g_starts[first - 1] <= size) --first;
  if (first == last) {
    *needed = first > 0 ? DWORD(end - g_starts[first - 1]) : 0;
    SetLastError(first > 0 ? ERROR_INSUFFICIENT_BUFFER : ERROR_HANDLE_EOF);
    return FALSE;
  }
  // Backwards reading hands out the newest first: the records in reverse order.
  char *out = static_cast<char *>(buffer);
  for (size_t i = last; i-- > first;) {
    size_t from = g_starts[i], to = i + 1 == g_starts.size() ? g_log.size() : g_starts[i + 1];
    memcpy(out, g_log.data() + from, to - from);
    out += to - from;
  }
  *read = DWORD(out - static_cast<char *>(buffer));
  g_next = first;
  return TRUE;
}

BOOL WINAPI Close(HANDLE) { return TRUE; }

void Append(WORD event, const char *source, DWORD time) {
  EVENTLOGRECORD r = {};
  r.Length = DWORD(kRecordSize);
  r.Reserved = 0x654c664c;
  r.TimeGenerated = r.TimeWritten = time;
  r.EventID = 0x80000000u | event;
  r.EventType = EVENTLOG_INFORMATION_TYPE;
  std::string bytes(reinterpret_cast<const char *>(&r), sizeof r);
  bytes += std::string(source) + '\0' + "SERVER" + '\0';
  bytes.resize(kRecordSize - 4, 'x');
  bytes.append(reinterpret_cast<const char *>(&r.Length), 4);
  g_starts.push_back(g_log.size());
  g_log += bytes;
}

// A log of kRecords records, a start (6009, 6005) every startEvery of them, service
// events between.
void MakeLog(int startEvery) {
  g_log.clear();
  g_starts.clear();
  g_log.reserve(size_t(kRecords) * kRecordSize);
  DWORD time = 1000000000;
  for (int i = 0; i < kRecords; ++i, time += 600) {
    int k = i % startEvery;
    if (k == 0) Append(6009, "EventLog", time);
    else if (k == 1) Append(6005, "EventLog", time);
    else Append(7036, "Service Control Manager", time);
  }
}

}  // namespace

int main() {
  ModulLoad(GetModuleHandleA(nullptr));
  SetMessageBoxHandler([](const TMessageBoxRequest &) { return IDOK; });
  const TEventLogCalls system = EventLogCalls();
  EventLogCalls() = {Open, Read, Close, system.SystemTimeToTzSpecificLocalTime};
  // The tip opens over an AUTOEXEC.BAT; c:\winboot.log is left as the prefix has it.
  const bool hadAutoexec = GetFileAttributesA("c:\\AUTOEXEC.BAT") != INVALID_FILE_ATTRIBUTES;
  if (!hadAutoexec) WriteUnhookedAutoexec();

  ModulOsCode = 13;
  ModulValidOsMask = 4096;
  g_reads = 0;
  std::unique_ptr<TFormBootlog> form(CreateForm<TFormBootlog>(nullptr));
  form->Show();
  const int readsAtOpening = g_reads;
  HWND button = form->T263_SpeedButton->Handle();

  std::printf("log view on Windows XP over a System log of %d records (%.1f MB), click to view shown (ms):\n",
              kRecords, double(kRecords) * kRecordSize / 1e6);
  const int kRounds = 10;
  for (int every : {200, 20}) {
    MakeLog(every);
    size_t shown = 0;
    Stats view = Measure(kRounds, [&] {
      g_reads = 0;
      double start = NowMs();
      SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
      SendMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
      double took = NowMs() - start;
      shown = form->T263_MemoWinBootLog->Lines().Text().size();
      SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));  // back to the batch view
      SendMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
      return took;
    });
    int reads = g_reads;
    Stats bare = Measure(kRounds, [&] {
      std::string buffer(0x10000, '\0');
      DWORD read = 0, needed = 0;
      double start = NowMs();
      Open(nullptr, "System");
      while (Read(nullptr, 0, 0, &buffer[0], DWORD(buffer.size()), &read, &needed)) {
      }
      return NowMs() - start;
    });
    std::printf("  a start every %3d records (%5d starts): median %7.2f  p95 %7.2f  (%d reads, %u bytes shown)\n",
                every, kRecords / every, view.median, view.p95, reads, unsigned(shown));
    std::printf("    bare feeding of all records: median %7.2f\n", bare.median);
  }
  std::printf("  reads of the System log while the window opens: %d\n", readsAtOpening);

  form.reset();
  if (!hadAutoexec) DeleteFileA("c:\\AUTOEXEC.BAT");
  EventLogCalls() = system;
  ModulUnload(false);
  return 0;
}
