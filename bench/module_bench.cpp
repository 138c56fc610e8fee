// The tip window's life as a host sees it, over many cycles in one process: Bootlog.dll
// loaded with LoadLibraryA from this program's folder, ModulCreate until the call returns
// (the window is shown) and until the window and its controls have painted, ModulFree,
// and the process's GDI and USER objects before, after the first cycle and after all
// cycles.  Prints; asserts nothing.
#include <windows.h>
#include <malloc.h>
#include <psapi.h>
#include <winternl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "module/ModulExports.h"

namespace {

int gCycles = 200;  // or the program's first argument
const char kSettingsKey[] = "SOFTWARE\\Orvane\\Tessaly 2000";

double Now() {
  static LARGE_INTEGER freq = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return double(t.QuadPart) * 1000.0 / double(freq.QuadPart);
}

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
  auto at = [&](double q) { return t[std::min(t.size() - 1, size_t(q * double(t.size())))]; };
  std::printf("  %-34s mean %7.2f  median %7.2f  p95 %7.2f  min %7.2f  max %7.2f  ms\n", what,
              sum / double(t.size()), at(0.5), at(0.95), t.front(), t.back());
}

// c:\AUTOEXEC.BAT present and without a LOG.BAT call, no "BSControl" value: the normal,
// valid window on Windows XP (code 13, mask bit 4096).
void PrepareSystem() {
  HANDLE f = CreateFileA("c:\\AUTOEXEC.BAT", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f != INVALID_HANDLE_VALUE) {
    const char text[] = "@echo off\r\nset PATH=c:\\windows;c:\\windows\\command\r\n";
    DWORD written = 0;
    WriteFile(f, text, DWORD(sizeof text - 1), &written, nullptr);
    CloseHandle(f);
  } else {
    std::printf("warning: c:\\AUTOEXEC.BAT not written (error %lu)\n", GetLastError());
  }
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
    if (RegDeleteValueA(key, "BSControl") == ERROR_SUCCESS)
      std::printf("note: removed the BSControl value left in this prefix\n");
    RegCloseKey(key);
  }
}

// The same number of cycles with a bare window of as many system-class children, shown,
// painted and destroyed: what the system itself costs and keeps per window.
void BareWindowCycles(int children) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hbrBackground = HBRUSH(COLOR_BTNFACE + 1);
  wc.lpszClassName = "BareBenchWindow";
  RegisterClassA(&wc);
  static const char *const kinds[] = {"BUTTON", "EDIT", "STATIC", "LISTBOX"};
  Objects before = Count(), afterFirst{};
  std::vector<double> created, destroyed;
  for (int i = 0; i < gCycles; ++i) {
    double a = Now();
    HWND w = CreateWindowExA(0, wc.lpszClassName, "Rechnerstart in Datei festhalten",
                             WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 300, 1, 300, 460, nullptr,
                             nullptr, wc.hInstance, nullptr);
    for (int c = 0; c < children; ++c)
      CreateWindowExA(0, kinds[c % 4], "Text", WS_CHILD | WS_VISIBLE, 4 + (c % 8) * 34,
                      4 + (c / 8) * 24, 30, 20, w, HMENU(INT_PTR(100 + c)), wc.hInstance, nullptr);
    // The window icons, loaded and set as the tip's form does.
    HICON big = HICON(LoadImageA(wc.hInstance, "FLASK", IMAGE_ICON, 32, 32, 0));
    HICON small = HICON(LoadImageA(wc.hInstance, "FLASK", IMAGE_ICON, 16, 16, 0));
    SendMessageA(w, WM_SETICON, ICON_BIG, LPARAM(big));
    SendMessageA(w, WM_SETICON, ICON_SMALL, LPARAM(small));
    ShowWindow(w, SW_SHOW);
    RedrawWindow(w, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump();
    GdiFlush();
    double b = Now();
    DestroyWindow(w);
    if (big) DestroyIcon(big);
    if (small) DestroyIcon(small);
    Pump();
    destroyed.push_back(Now() - b);
    created.push_back(b - a);
    if (i == 0) afterFirst = Count();
  }
  Objects after = Count();
  UnregisterClassA(wc.lpszClassName, wc.hInstance);
  std::printf("Bare window with %d system-class children and the tip's icon, same cycles:\n",
              children);
  PrintTimes("created, shown and painted", created);
  PrintTimes("DestroyWindow", destroyed);
  std::printf("  growth from cycle 1 to %d: GDI table %+d, windows %+d, committed %+ld KB, "
              "process heap %+ld KB (first cycle: GDI table %+d, committed %+ld KB)\n",
              gCycles, after.gdiTable - afterFirst.gdiTable, after.windows - afterFirst.windows,
              long(after.committedKb) - long(afterFirst.committedKb),
              long(after.processHeapKb) - long(afterFirst.processHeapKb),
              afterFirst.gdiTable - before.gdiTable,
              long(afterFirst.committedKb) - long(before.committedKb));
}

}  // namespace

int main(int argc, char **argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  if (argc > 1 && std::atoi(argv[1]) > 0) gCycles = std::atoi(argv[1]);
  PrepareSystem();
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string dll = path;
  dll = dll.substr(0, dll.find_last_of('\\') + 1) + "Bootlog.dll";

  Objects beforeLoad = Count();
  double t0 = Now();
  HMODULE module = LoadLibraryA(dll.c_str());
  double loadMs = Now() - t0;
  if (!module) {
    std::printf("LoadLibraryA(%s) failed, error %lu\n", dll.c_str(), GetLastError());
    return 1;
  }
  auto create = reinterpret_cast<TModulCreateProc>(GetProcAddress(module, "ModulCreate"));
  auto freeWindow = reinterpret_cast<TModulQueryProc>(GetProcAddress(module, "ModulFree"));
  if (!create || !freeWindow) {
    std::printf("Bootlog.dll lacks ModulCreate or ModulFree\n");
    return 1;
  }
  std::printf("Bootlog.dll: LoadLibraryA %.2f ms; %d cycles of ModulCreate, paint, ModulFree\n",
              loadMs, gCycles);

  BoxGuard guard;
  Objects beforeFirst = Count();
  Objects afterFirst{};
  std::vector<double> shown, painted, freed;
  int missing = 0, notVisible = 0, leftOpen = 0, children = 0;
  for (int i = 0; i < gCycles; ++i) {
    double a = Now();
    CallModulCreate(create, 300, 1, 300, 460, 13, 0, "Rechnerstart in Datei festhalten",
                    "Hinweis", 4096, 263);
    double b = Now();
    std::vector<HWND> tips = TipWindows();
    if (tips.empty()) ++missing;
    if (i == 0 && !tips.empty()) EnumChildWindows(tips.front(), CountChild, LPARAM(&children));
    for (HWND tip : tips) {
      if (!IsWindowVisible(tip)) ++notVisible;
      RedrawWindow(tip, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
    Pump();
    GdiFlush();
    double c = Now();
    freeWindow();
    double d = Now();
    Pump();
    leftOpen += int(TipWindows().size());
    shown.push_back(b - a);
    painted.push_back(c - a);
    freed.push_back(d - c);
    if (i == 0) {
      afterFirst = Count();
      std::printf("  first cycle: shown %.2f ms, painted %.2f ms, freed %.2f ms\n", b - a, c - a,
                  d - c);
    }
  }
  Objects afterAll = Count();

  PrintTimes("ModulCreate until shown", shown);
  PrintTimes("ModulCreate until painted", painted);
  PrintTimes("ModulFree", freed);
  std::printf("  cycles without a tip window: %d, with it hidden: %d, windows left after "
              "ModulFree: %d, message boxes answered: %ld%s%s\n",
              missing, notVisible, leftOpen, guard.answered, guard.answered ? " (first: " : "",
              guard.answered ? (std::string(guard.firstCaption) + ")").c_str() : "");
  std::printf("Objects of this process (change against the count before the first cycle):\n");
  PrintObjects("before LoadLibraryA", beforeLoad, beforeFirst);
  PrintObjects("before the first cycle", beforeFirst, beforeFirst);
  PrintObjects("after the first cycle", afterFirst, beforeFirst);
  PrintObjects("after all cycles", afterAll, beforeFirst);
  std::printf("  growth from cycle 1 to %d: GDI %+ld, USER %+ld, GDI table %+d, windows %+d, "
              "committed %+ld KB, C runtime heap %+ld blocks %+ld bytes, process heap %+ld KB\n",
              gCycles, long(afterAll.gdi) - long(afterFirst.gdi),
              long(afterAll.user) - long(afterFirst.user), afterAll.gdiTable - afterFirst.gdiTable,
              afterAll.windows - afterFirst.windows,
              long(afterAll.committedKb) - long(afterFirst.committedKb),
              afterAll.heapBlocks - afterFirst.heapBlocks,
              long(afterAll.heapBytes) - long(afterFirst.heapBytes),
              long(afterAll.processHeapKb) - long(afterFirst.processHeapKb));
  std::printf("  GDI table by kind: first cycle%s; cycles 2 to %d%s\n",
              GdiTypeChanges(beforeFirst, afterFirst).c_str(), gCycles,
              GdiTypeChanges(afterFirst, afterAll).c_str());
  if (afterAll.gdi == 0 && afterAll.user == 0)
    std::printf("  (GetGuiResources answers 0 on this system; the GDI table column counts the "
                "shared GDI handle table, USER objects are approximated by windows)\n");
  FreeLibrary(module);
  BareWindowCycles(children);
  return 0;
}
