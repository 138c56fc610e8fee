// The tip window's life as a host sees it, against a bare window made with CreateWindowEx
// alone that holds the same child windows (same classes where the tip uses system classes,
// a system class of the same kind where it has its own; same styles, bounds, texts and
// fonts) and a tooltip.  Both are measured alternately in one process: ModulCreate until
// the call returns (the window is shown) and until the window and its controls have
// painted, then ModulFree; the bare window created and shown, painted, destroyed.  Then
// each alone over many cycles, with the process's objects and memory before and after, so
// that what grows is seen for the module and for the system alone.
// Usage: module_bench [CYCLES [GROWTH_CYCLES]] (default 200 alternating, 1000 each alone).
// Prints; asserts nothing.
#include <windows.h>
#include <malloc.h>
#include <psapi.h>
#include <winternl.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "module/ModulExports.h"

namespace {

int gCycles = 200;          // alternating cycles, or the program's first argument
int gGrowthCycles = 1000;   // cycles of each alone, or the second argument
const char kSettingsKey[] = "SOFTWARE\\Orvane\\Tessaly 2000";


// Answers any message box of the main thread so that the run cannot hang: "No" where
// there is one (never agree to a restart), else OK.  The normal window shows none.
struct BoxGuard {
  DWORD thread = GetCurrentThreadId();
  volatile LONG stop = 0, answered = 0;
  char firstCaption[256] = "";
  HANDLE worker = nullptr;

  static BOOL CALLBACK Collect(HWND h, LPARAM l) {
    char cls[16] = "";
    GetClassNameA(h, cls, sizeof cls);
    if (std::strcmp(cls, "#32770") == 0 && IsWindowVisible(h))
      reinterpret_cast<std::vector<HWND> *>(l)->push_back(h);
    return TRUE;
  }
  static DWORD WINAPI Run(LPVOID self) {
    auto *g = static_cast<BoxGuard *>(self);
    std::vector<HWND> done;
    while (!g->stop) {
      std::vector<HWND> boxes;
      EnumThreadWindows(g->thread, Collect, LPARAM(&boxes));
      for (HWND box : boxes) {
        if (std::find(done.begin(), done.end(), box) != done.end()) continue;
        done.push_back(box);
        if (InterlockedIncrement(&g->answered) == 1) {
          // InternalGetWindowText sends no message to the blocked main thread.
          typedef int(WINAPI * TextProc)(HWND, LPWSTR, int);
          auto text = reinterpret_cast<TextProc>(
              GetProcAddress(GetModuleHandleA("user32.dll"), "InternalGetWindowText"));
          wchar_t w[256] = L"";
          if (text) text(box, w, 256);
          WideCharToMultiByte(1252, 0, w, -1, g->firstCaption, sizeof g->firstCaption, nullptr,
                              nullptr);
        }
        int id = GetDlgItem(box, IDNO) ? IDNO : GetDlgItem(box, IDOK) ? IDOK : IDCANCEL;
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(GetDlgItem(box, id)));
      }
      Sleep(20);
    }
    return 0;
  }
  BoxGuard() { worker = CreateThread(nullptr, 0, Run, this, 0, nullptr); }
  ~BoxGuard() {
    stop = 1;
    WaitForSingleObject(worker, 2000);
    CloseHandle(worker);
  }
};

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

BOOL CALLBACK CollectTips(HWND h, LPARAM l) {
  char cls[32] = "";
  GetClassNameA(h, cls, sizeof cls);
  if (std::strcmp(cls, "TFormBootlog") == 0) reinterpret_cast<std::vector<HWND> *>(l)->push_back(h);
  return TRUE;
}

std::vector<HWND> TipWindows() {
  std::vector<HWND> tips;
  EnumThreadWindows(GetCurrentThreadId(), CollectTips, LPARAM(&tips));
  return tips;
}

BOOL CALLBACK CountChild(HWND, LPARAM l) {
  ++*reinterpret_cast<int *>(l);
  return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND h, LPARAM l) {
  ++*reinterpret_cast<int *>(l);
  EnumChildWindows(h, CountChild, l);
  return TRUE;
}

// GDI objects in the shared handle table the PEB points to, for systems whose
// GetGuiResources answers 0 (Wine): 24-byte entries, the owning process id in the 16 bits
// at offset 8, a nonzero type at offset 14 while the object lives.  Wine's table belongs to
// the process and leaves the owner 0; stock objects (owner 0) are counted too, which does
// not change the growth.
std::map<int, int> GdiObjectsFromSharedTable() {
  std::map<int, int> byType;
  typedef LONG(NTAPI * QueryProc)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
  auto query = reinterpret_cast<QueryProc>(
      GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess"));
  PROCESS_BASIC_INFORMATION info{};
  if (!query || query(GetCurrentProcess(), ProcessBasicInformation, &info, sizeof info, nullptr))
    return byType;
  const BYTE *peb = reinterpret_cast<const BYTE *>(info.PebBaseAddress);
  const BYTE *table =
      *reinterpret_cast<const BYTE *const *>(peb + (sizeof(void *) == 8 ? 0xF8 : 0x94));
  if (!table) return byType;
  const WORD pid = WORD(GetCurrentProcessId());
  for (int i = 0; i < 0x10000; ++i) {
    const BYTE *entry = table + 24 * i;
    WORD owner = *reinterpret_cast<const WORD *>(entry + 8);
    if ((owner == pid || owner == 0) && entry[14] != 0) ++byType[entry[14]];
  }
  return byType;
}

struct Objects {
  DWORD gdi, user;   // GetGuiResources
  int gdiTable;      // GdiObjectsFromSharedTable
  std::map<int, int> gdiTypes;
  int windows;       // windows of this thread, children included
  SIZE_T committedKb;
  long heapBlocks;   // blocks in use on the C runtime's heap, which the module's new uses
  SIZE_T heapBytes;
  SIZE_T processHeapKb;  // in use on the process heap, which the system's libraries use
};

Objects Count() {
  Objects o{};
  o.gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  o.user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
  o.gdiTypes = GdiObjectsFromSharedTable();
  for (auto &t : o.gdiTypes) o.gdiTable += t.second;
  EnumThreadWindows(GetCurrentThreadId(), CountTopLevel, LPARAM(&o.windows));
  PROCESS_MEMORY_COUNTERS mem{};
  mem.cb = sizeof mem;
  if (GetProcessMemoryInfo(GetCurrentProcess(), &mem, sizeof mem))
    o.committedKb = mem.PagefileUsage / 1024;
  _HEAPINFO info{};
  while (_heapwalk(&info) == _HEAPOK)
    if (info._useflag == _USEDENTRY) {
      ++o.heapBlocks;
      o.heapBytes += info._size;
    }
  PROCESS_HEAP_ENTRY entry{};
  HeapLock(GetProcessHeap());
  while (HeapWalk(GetProcessHeap(), &entry))
    if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) o.processHeapKb += entry.cbData;
  HeapUnlock(GetProcessHeap());
  o.processHeapKb /= 1024;
  return o;
}

void PrintObjects(const char *when, const Objects &o, const Objects &base) {
  std::printf("  %-22s GDI %lu (%+ld)  USER %lu (%+ld)  GDI table %d (%+d)  windows %d (%+d)\n"
              "  %-22s committed %zu KB (%+ld)  process heap %zu KB (%+ld)  C runtime heap %ld "
              "blocks (%+ld), %zu bytes (%+ld)\n",
              when, o.gdi, long(o.gdi) - long(base.gdi), o.user, long(o.user) - long(base.user),
              o.gdiTable, o.gdiTable - base.gdiTable, o.windows, o.windows - base.windows, "",
              size_t(o.committedKb), long(o.committedKb) - long(base.committedKb), size_t(o.processHeapKb),
              long(o.processHeapKb) - long(base.processHeapKb), o.heapBlocks,
              o.heapBlocks - base.heapBlocks, size_t(o.heapBytes), long(o.heapBytes) - long(base.heapBytes));
}

// Which kinds of GDI object came or went between two counts of the shared table.
std::string GdiTypeChanges(const Objects &from, const Objects &to) {
  static const std::map<int, const char *> names = {
      {0x01, "DC"}, {0x04, "region"}, {0x05, "bitmap"}, {0x08, "palette"},
      {0x0a, "font"}, {0x10, "brush"}, {0x30, "pen"}, {0x50, "extpen"}};
  std::map<int, int> change;
  for (auto &t : to.gdiTypes) change[t.first] += t.second;
  for (auto &t : from.gdiTypes) change[t.first] -= t.second;
  std::string text;
  char item[64];
  for (auto &c : change) {
    if (!c.second) continue;
    auto name = names.find(c.first);
    if (name != names.end())
      std::snprintf(item, sizeof item, " %s %+d", name->second, c.second);
    else
      std::snprintf(item, sizeof item, " type %#x %+d", c.first, c.second);
    text += item;
  }
  return text.empty() ? " none" : text;
}

void PrintTimes(const char *what, std::vector<double> t) {
  std::sort(t.begin(), t.end());
  double sum = 0;
  for (double v : t) sum += v;
  std::printf("  %-34s mean %7.2f  median %7.2f  p95 %7.2f  min %7.2f  max %7.2f  ms\n", what,
              sum / double(t.size()), Quantile(t, 0.5), Quantile(t, 0.95), t.front(), t.back());
}

// c:\AUTOEXEC.BAT present and without a LOG.BAT call, no "BSControl" value: the normal,
// valid window on Windows XP (code 13, mask bit 4096).
void PrepareSystem() {
  if (!WriteUnhookedAutoexec()) {
    std::printf("warning: c:\\AUTOEXEC.BAT not written (error %lu)\n", GetLastError());
  }
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
    if (RegDeleteValueA(key, "BSControl") == ERROR_SUCCESS)
      std::printf("note: removed the BSControl value left in this prefix\n");
    RegCloseKey(key);
  }
}

// --- The tip ---------------------------------------------------------------------------

struct Times {
  std::vector<double> shown, painted, freed;
};

struct TipRun {
  TModulCreateProc create = nullptr;
  TModulQueryProc free = nullptr;
  int missing = 0, notVisible = 0, leftOpen = 0;
};

// One ModulCreate, paint, ModulFree; the tip's window while it is open goes to inspect.
void TipCycle(TipRun &run, Times *times, void (*inspect)(HWND) = nullptr) {
  double a = NowMs();
  CallModulCreate(run.create, 300, 1, 300, 460, 13, 0, "Rechnerstart in Datei festhalten",
                  "Hinweis", 4096, 263);
  double b = NowMs();
  std::vector<HWND> tips = TipWindows();
  if (tips.empty()) ++run.missing;
  for (HWND tip : tips) {
    if (!IsWindowVisible(tip)) ++run.notVisible;
    RedrawWindow(tip, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  }
  Pump();
  GdiFlush();
  double c = NowMs();
  if (inspect && !tips.empty()) inspect(tips.front());
  double c2 = NowMs();
  run.free();
  double d = NowMs();
  Pump();
  run.leftOpen += int(TipWindows().size());
  if (times) {
    times->shown.push_back(b - a);
    times->painted.push_back(c - a);
    times->freed.push_back(d - c2);
  }
}

// --- Messages each window receives: tip against bare window ------------------------------

// Counts of the messages every window of the thread receives, sent (WH_CALLWNDPROC) or
// taken from the queue (WH_GETMESSAGE), in two phases: until shown, then painting.
struct Census {
  bool on = false;
  int phase = 0;
  std::map<HWND, std::map<UINT, int>> counts[2];
} gCensus;

LRESULT CALLBACK CensusSent(int code, WPARAM w, LPARAM l) {
  if (code == HC_ACTION && gCensus.on) {
    auto *cs = reinterpret_cast<CWPSTRUCT *>(l);
    ++gCensus.counts[gCensus.phase][cs->hwnd][cs->message];
  }
  return CallNextHookEx(nullptr, code, w, l);
}

LRESULT CALLBACK CensusPosted(int code, WPARAM w, LPARAM l) {
  if (code == HC_ACTION && w == PM_REMOVE && gCensus.on) {
    auto *m = reinterpret_cast<MSG *>(l);
    if (m->hwnd) ++gCensus.counts[gCensus.phase][m->hwnd][m->message];
  }
  return CallNextHookEx(nullptr, code, w, l);
}

struct CensusRow {
  std::string name;
  std::map<UINT, int> shown, painted;
};

BOOL CALLBACK CollectChildren(HWND h, LPARAM l) {
  reinterpret_cast<std::vector<HWND> *>(l)->push_back(h);
  return TRUE;
}

std::vector<CensusRow> CensusRows(HWND top, bool tip) {
  std::vector<HWND> windows{top};
  EnumChildWindows(top, CollectChildren, LPARAM(&windows));
  std::vector<CensusRow> rows;
  for (size_t i = 0; i < windows.size(); ++i) {
    HWND h = windows[i];
    CensusRow row;
    char cls[64] = "";
    GetClassNameA(h, cls, sizeof cls);
    const char *name = tip ? static_cast<const char *>(GetPropA(h, "TkName")) : nullptr;
    row.name = std::string(cls) + (name ? std::string(" ") + name : std::string());
    row.shown = gCensus.counts[0][h];
    row.painted = gCensus.counts[1][h];
    gCensus.counts[0].erase(h);
    gCensus.counts[1].erase(h);
    rows.push_back(row);
  }
  // Every other window of the thread (the tooltip, the hidden helpers) in one row.
  CensusRow others;
  others.name = "(other windows)";
  for (int p = 0; p < 2; ++p)
    for (auto &w : gCensus.counts[p])
      for (auto &m : w.second) (p ? others.painted : others.shown)[m.first] += m.second;
  rows.push_back(others);
  return rows;
}

int Total(const std::map<UINT, int> &m) {
  int n = 0;
  for (auto &e : m) n += e.second;
  return n;
}

int Of(const std::map<UINT, int> &m, UINT msg) {
  auto it = m.find(msg);
  return it == m.end() ? 0 : it->second;
}

void PrintCensus(const char *what, const std::vector<CensusRow> &rows) {
  std::printf("%s: messages per window until shown (font text size move poschanged "
              "show paint erase ncpaint all) | while painting (paint erase ncpaint all)\n",
              what);
  CensusRow sum;
  sum.name = "sum";
  auto line = [](const CensusRow &r) {
    const std::map<UINT, int> &a = r.shown, &b = r.painted;
    std::printf("  %-34s %3d %3d %3d %3d %3d %3d %3d %3d %3d %4d | %3d %3d %3d %4d\n",
                r.name.substr(0, 34).c_str(), Of(a, WM_SETFONT), Of(a, WM_SETTEXT), Of(a, WM_SIZE),
                Of(a, WM_MOVE), Of(a, WM_WINDOWPOSCHANGED), Of(a, WM_SHOWWINDOW), Of(a, WM_PAINT),
                Of(a, WM_ERASEBKGND), Of(a, WM_NCPAINT), Total(a), Of(b, WM_PAINT),
                Of(b, WM_ERASEBKGND), Of(b, WM_NCPAINT), Total(b));
  };
  for (const CensusRow &r : rows) {
    line(r);
    if (std::getenv("CENSUS_DETAIL")) {
      std::printf("     ");
      for (auto &m : r.shown) std::printf(" %x:%d", m.first, m.second);
      std::printf("\n");
    }
    for (auto &m : r.shown) sum.shown[m.first] += m.second;
    for (auto &m : r.painted) sum.painted[m.first] += m.second;
  }
  line(sum);
}

void CensusPhase(int phase) {
  if (phase < 2) gCensus.phase = phase;
  else gCensus.on = false;
}

// --- The bare window: the tip's children copied --------------------------------------------

struct Layout : WindowCopy {
  int hints = 0;  // tools of the tip's tooltip
} gLayout;

BOOL CALLBACK FindToolTip(HWND h, LPARAM l) {
  char cls[64] = "";
  GetClassNameA(h, cls, sizeof cls);
  if (std::strcmp(cls, TOOLTIPS_CLASSA) == 0)
    reinterpret_cast<Layout *>(l)->hints += int(SendMessageA(h, TTM_GETTOOLCOUNT, 0, 0));
  return TRUE;
}

void CopyLayout(HWND tip) {
  gLayout = Layout();
  static_cast<WindowCopy &>(gLayout) = CopyWindow(tip);
  EnumThreadWindows(GetCurrentThreadId(), FindToolTip, LPARAM(&gLayout));
}

void RegisterBareClass() {
  RegisterPlainWindowClass("BareBenchWindow");
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
}

// The window made as a plain program would: its fonts and icons made for it and freed
// with it, every child created visible in its final place, shown once.
void BareCycle(Times *times, HWND *census = nullptr) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  double a = NowMs();
  const RECT &r = gLayout.bounds;
  HWND w = CreateWindowExA(gLayout.exStyle, "BareBenchWindow", gLayout.caption.c_str(),
                           gLayout.style & ~WS_VISIBLE, r.left, r.top, r.right - r.left,
                           r.bottom - r.top, nullptr, nullptr, instance, nullptr);
  std::vector<HFONT> fonts;
  std::vector<LOGFONTA> made;
  std::vector<HWND> buttons;
  int id = 100;
  for (const ChildCopy &c : gLayout.children) {
    DWORD style = c.style;
    const char *cls = SystemClassFor(c.cls, style);
    HWND h = CreateWindowExA(c.exStyle, cls, nullptr, style, c.bounds.left, c.bounds.top,
                             c.bounds.right - c.bounds.left, c.bounds.bottom - c.bounds.top, w,
                             HMENU(INT_PTR(id++)), instance, nullptr);
    if (std::strcmp(cls, "BUTTON") == 0 && (style & 0xF) == 0) buttons.push_back(h);
    if (c.hasFont) {
      size_t i = 0;
      while (i < made.size() && std::memcmp(&made[i], &c.font, sizeof c.font) != 0) ++i;
      if (i == made.size()) {
        made.push_back(c.font);
        fonts.push_back(CreateFontIndirectA(&c.font));
      }
      SendMessageA(h, WM_SETFONT, WPARAM(fonts[i]), FALSE);
    }
    // The text once the font is set, as the tip sets its texts.
    if (!c.text.empty()) SetWindowTextA(h, c.text.c_str());
  }
  HWND tip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                             WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, w, nullptr, instance, nullptr);
  SendMessageA(tip, TTM_SETMAXTIPWIDTH, 0, 300);
  for (int i = 0; i < gLayout.hints && i < int(buttons.size()); ++i) {
    TOOLINFOA ti = {};
    ti.cbSize = TTTOOLINFOA_V2_SIZE;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = w;
    ti.uId = UINT_PTR(buttons[size_t(i)]);
    ti.lpszText = const_cast<char *>("Hinweis");
    SendMessageA(tip, TTM_ADDTOOLA, 0, LPARAM(&ti));
  }
  HICON big = HICON(LoadImageA(instance, "FLASK", IMAGE_ICON, 32, 32, 0));
  HICON small = HICON(LoadImageA(instance, "FLASK", IMAGE_ICON, 16, 16, 0));
  SendMessageA(w, WM_SETICON, ICON_BIG, LPARAM(big));
  SendMessageA(w, WM_SETICON, ICON_SMALL, LPARAM(small));
  ShowWindow(w, SW_SHOW);
  SetForegroundWindow(w);
  double b = NowMs();
  if (census) CensusPhase(1);
  RedrawWindow(w, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  Pump();
  GdiFlush();
  double c = NowMs();
  if (census) {
    OutputDebugStringA("census: bare painted");
    CensusPhase(2);
    PrintCensus("bare window", CensusRows(w, false));
  }
  DestroyWindow(w);
  for (HFONT f : fonts) DeleteObject(f);
  if (big) DestroyIcon(big);
  if (small) DestroyIcon(small);
  double d = NowMs();
  Pump();
  if (times) {
    times->shown.push_back(b - a);
    times->painted.push_back(c - a);
    times->freed.push_back(d - c);
  }
}


void CensusCycles(TipRun &run) {
  HHOOK sent = SetWindowsHookExA(WH_CALLWNDPROC, CensusSent, nullptr, GetCurrentThreadId());
  HHOOK posted = SetWindowsHookExA(WH_GETMESSAGE, CensusPosted, nullptr, GetCurrentThreadId());
  gCensus = Census();
  gCensus.on = true;
  // Markers for a log of the system's requests (WINEDEBUG=+server,+debugstr under Wine).
  OutputDebugStringA("census: tip opening");
  CallModulCreate(run.create, 300, 1, 300, 460, 13, 0, "Rechnerstart in Datei festhalten",
                  "Hinweis", 4096, 263);
  gCensus.phase = 1;
  std::vector<HWND> tips = TipWindows();
  for (HWND tip : tips) RedrawWindow(tip, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  Pump();
  GdiFlush();
  gCensus.on = false;
  OutputDebugStringA("census: tip painted");
  if (!tips.empty()) PrintCensus("tip", CensusRows(tips.front(), true));
  run.free();
  Pump();
  // The bare window, with the same steps of BareCycle.
  gCensus = Census();
  HWND bare = nullptr;
  gCensus.on = true;
  OutputDebugStringA("census: bare opening");
  BareCycle(nullptr, &bare);
  gCensus.on = false;
  UnhookWindowsHookEx(sent);
  UnhookWindowsHookEx(posted);
}

// --- Growth ------------------------------------------------------------------------------

void PrintGrowth(const char *what, const Objects &from, const Objects &to, int cycles) {
  std::printf("  %-11s over %d cycles: GDI %+ld, USER %+ld, GDI table %+d (%s), windows %+d, "
              "private bytes %+ld KB, process heap %+ld KB (%+.0f bytes a cycle), C runtime heap "
              "%+ld blocks %+ld bytes\n",
              what, cycles, long(to.gdi) - long(from.gdi), long(to.user) - long(from.user),
              to.gdiTable - from.gdiTable, GdiTypeChanges(from, to).c_str() + 1,
              to.windows - from.windows, long(to.committedKb) - long(from.committedKb),
              long(to.processHeapKb) - long(from.processHeapKb),
              (double(to.processHeapKb) - double(from.processHeapKb)) * 1024.0 / cycles,
              to.heapBlocks - from.heapBlocks, long(to.heapBytes) - long(from.heapBytes));
}

}  // namespace

int main(int argc, char **argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  if (argc > 1 && std::atoi(argv[1]) > 0) gCycles = std::atoi(argv[1]);
  if (argc > 2 && std::atoi(argv[2]) >= 0) gGrowthCycles = std::atoi(argv[2]);
  PrepareSystem();
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string dll = path;
  dll = dll.substr(0, dll.find_last_of('\\') + 1) + "Bootlog.dll";

  Objects beforeLoad = Count();
  double t0 = NowMs();
  HMODULE module = LoadLibraryA(dll.c_str());
  double loadMs = NowMs() - t0;
  if (!module) {
    std::printf("LoadLibraryA(%s) failed, error %lu\n", dll.c_str(), GetLastError());
    return 1;
  }
  TipRun run;
  run.create = reinterpret_cast<TModulCreateProc>(GetProcAddress(module, "ModulCreate"));
  run.free = reinterpret_cast<TModulQueryProc>(GetProcAddress(module, "ModulFree"));
  if (!run.create || !run.free) {
    std::printf("Bootlog.dll lacks ModulCreate or ModulFree\n");
    return 1;
  }
  BoxGuard guard;
  RegisterBareClass();

  // First cycles, not counted: the tip's first (which the bare window copies) and the bare
  // window's first.
  Objects beforeFirst = Count();
  Times first;
  TipCycle(run, &first, CopyLayout);
  Objects afterFirst = Count();
  BareCycle(&first);
  std::printf("Bootlog.dll: LoadLibraryA %.2f ms; first tip: shown %.2f ms, painted %.2f ms, "
              "freed %.2f ms; first bare window: shown %.2f ms\n",
              loadMs, first.shown[0], first.painted[0], first.freed[0], first.shown[1]);
  std::map<std::string, int> kinds;
  for (const ChildCopy &c : gLayout.children) ++kinds[c.cls];
  std::printf("Child windows of the tip, copied by the bare window:");
  for (auto &k : kinds) std::printf(" %s %d", k.first.c_str(), k.second);
  std::printf("; tooltip tools %d\n", gLayout.hints);

  CensusCycles(run);

  // Alternating: tip, bare, tip, bare, ...
  Times tip, bare;
  for (int i = 0; i < gCycles; ++i) {
    TipCycle(run, &tip);
    BareCycle(&bare);
  }
  std::printf("%d cycles each, alternating tip and bare window:\n", gCycles);
  PrintTimes("tip: ModulCreate until shown", tip.shown);
  PrintTimes("bare: created until shown", bare.shown);
  PrintTimes("tip: ModulCreate until painted", tip.painted);
  PrintTimes("bare: created until painted", bare.painted);
  PrintTimes("tip: ModulFree", tip.freed);
  PrintTimes("bare: DestroyWindow", bare.freed);
  std::printf("  ratio tip/bare: shown median %.2f p95 %.2f; painted median %.2f p95 %.2f; "
              "freed median %.2f\n",
              Quantile(tip.shown, 0.5) / Quantile(bare.shown, 0.5),
              Quantile(tip.shown, 0.95) / Quantile(bare.shown, 0.95),
              Quantile(tip.painted, 0.5) / Quantile(bare.painted, 0.5),
              Quantile(tip.painted, 0.95) / Quantile(bare.painted, 0.95),
              Quantile(tip.freed, 0.5) / Quantile(bare.freed, 0.5));
  std::printf("  cycles without a tip window: %d, with it hidden: %d, windows left after "
              "ModulFree: %d, message boxes answered: %ld%s%s\n",
              run.missing, run.notVisible, run.leftOpen, guard.answered,
              guard.answered ? " (first: " : "",
              guard.answered ? (std::string(guard.firstCaption) + ")").c_str() : "");

  // Each alone, counted before and after.
  Objects tipFrom = Count();
  for (int i = 0; i < gGrowthCycles; ++i) TipCycle(run, nullptr);
  Objects tipTo = Count();
  for (int i = 0; i < gGrowthCycles; ++i) BareCycle(nullptr);
  Objects bareTo = Count();
  std::printf("Objects of this process (change against the count before the first cycle):\n");
  PrintObjects("before LoadLibraryA", beforeLoad, beforeFirst);
  PrintObjects("before the first cycle", beforeFirst, beforeFirst);
  PrintObjects("after the first cycle", afterFirst, beforeFirst);
  PrintObjects("at the end", bareTo, beforeFirst);
  std::printf("Growth, each alone after the cycles above:\n");
  PrintGrowth("tip", tipFrom, tipTo, gGrowthCycles);
  PrintGrowth("bare window", tipTo, bareTo, gGrowthCycles);
  std::printf("  GDI table by kind in the tip's first cycle:%s\n",
              GdiTypeChanges(beforeFirst, afterFirst).c_str());
  if (bareTo.gdi == 0 && bareTo.user == 0)
    std::printf("  (GetGuiResources answers 0 on this system; the GDI table column counts the "
                "shared GDI handle table, USER objects are approximated by windows)\n");
  FreeLibrary(module);
  UnregisterClassA("BareBenchWindow", GetModuleHandleA(nullptr));
  return 0;
}
