// What the benchmarks share: a clock, quantiles of a series of times, folders full of
// files made once and kept for later runs, and a window's children copied, to make the
// same windows again by hand.
#pragma once
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

// Milliseconds on the performance counter.
inline double NowMs() {
  static const LARGE_INTEGER freq = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return double(t.QuadPart) * 1000.0 / double(freq.QuadPart);
}

// The q-quantile of times (0.5 the median); 0 for none.
inline double Quantile(std::vector<double> times, double q) {
  if (times.empty()) return 0;
  std::sort(times.begin(), times.end());
  return times[std::min(times.size() - 1, size_t(q * double(times.size())))];
}

// The median and the 95th percentile of rounds runs, each timed by run.
struct Stats {
  double median, p95;
};

inline Stats Measure(int rounds, const std::function<double()> &run) {
  std::vector<double> t;
  for (int i = 0; i < rounds; ++i) t.push_back(run());
  return {Quantile(t, 0.5), Quantile(t, 0.95)};
}

// Names in no particular order, so that a list cannot profit from the order of creation.
inline std::string ScatteredName(int i) {
  char name[32];
  std::snprintf(name, sizeof name, "n%08x_%d", unsigned(i) * 2654435761u, i);
  return name;
}

// Makes dir (and the folder it is in) with count empty files.  Wine looks through the
// whole directory for every new name, so large folders take minutes: a folder that
// exists is taken as made (scripts/bench.sh makes them beforehand, natively).
inline void MakeFiles(const std::string &dir, int count) {
  CreateDirectoryA(dir.substr(0, dir.rfind('\\')).c_str(), nullptr);
  if (!CreateDirectoryA(dir.c_str(), nullptr)) return;
  for (int i = 0; i < count; ++i) {
    std::string path = dir + "\\" + ScatteredName(i) + ".txt";
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
}

// c:\AUTOEXEC.BAT without a LOG.BAT call, as the normal, valid tip window finds it; false
// (with the reason in GetLastError) when it cannot be written.
inline bool WriteUnhookedAutoexec() {
  HANDLE f = CreateFileA("c:\\AUTOEXEC.BAT", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  const char text[] = "@echo off\r\nset PATH=c:\\windows;c:\\windows\\command\r\n";
  DWORD written = 0;
  BOOL ok = WriteFile(f, text, DWORD(sizeof text - 1), &written, nullptr);
  CloseHandle(f);
  return ok != FALSE;
}

// --- A window copied, to be made again by hand ------------------------------------------

struct ChildCopy {
  std::string cls, text;
  DWORD style = 0, exStyle = 0;
  RECT bounds{};  // in the parent's client area
  LOGFONTA font{};
  bool hasFont = false;
};

struct WindowCopy {
  DWORD style = 0, exStyle = 0;
  RECT bounds{};
  std::string caption;
  std::vector<ChildCopy> children;  // its own children only, in z-order
};

inline WindowCopy CopyWindow(HWND window) {
  struct Walk {
    HWND window;
    WindowCopy copy;
    static BOOL CALLBACK Child(HWND h, LPARAM l) {
      auto *walk = reinterpret_cast<Walk *>(l);
      if (GetParent(h) != walk->window) return TRUE;
      ChildCopy c;
      char cls[64] = "";
      GetClassNameA(h, cls, sizeof cls);
      c.cls = cls;
      std::string text(size_t(GetWindowTextLengthA(h)) + 1, '\0');
      text.resize(size_t(std::max(0, GetWindowTextA(h, &text[0], int(text.size())))));
      c.text = text;
      c.style = DWORD(GetWindowLongA(h, GWL_STYLE));
      c.exStyle = DWORD(GetWindowLongA(h, GWL_EXSTYLE));
      GetWindowRect(h, &c.bounds);
      MapWindowPoints(nullptr, walk->window, reinterpret_cast<POINT *>(&c.bounds), 2);
      if (HFONT f = HFONT(SendMessageA(h, WM_GETFONT, 0, 0)))
        c.hasFont = GetObjectA(f, sizeof c.font, &c.font) != 0;
      walk->copy.children.push_back(c);
      return TRUE;
    }
  } walk{window, {}};
  walk.copy.style = DWORD(GetWindowLongA(window, GWL_STYLE));
  walk.copy.exStyle = DWORD(GetWindowLongA(window, GWL_EXSTYLE));
  GetWindowRect(window, &walk.copy.bounds);
  char text[256] = "";
  GetWindowTextA(window, text, sizeof text);
  walk.copy.caption = text;
  EnumChildWindows(window, Walk::Child, LPARAM(&walk));
  return walk.copy;
}

// Registers a window class of plain windows, as a program would for its dialog.
inline void RegisterPlainWindowClass(const char *name) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = HBRUSH(COLOR_BTNFACE + 1);
  wc.lpszClassName = name;
  RegisterClassA(&wc);
}

// A copied child's class as the system class of the same kind, with what only its own
// drawing needs left out: our own classes' bits, list items drawn by their owner.
inline const char *SystemClassFor(const std::string &cls, DWORD &style) {
  if (_stricmp(cls.c_str(), "LISTBOX") == 0) {
    style &= ~DWORD(LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE);
    return "LISTBOX";
  }
  if (_stricmp(cls.c_str(), "COMBOBOX") == 0) {
    style &= ~DWORD(CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE);
    return "COMBOBOX";
  }
  static const char *const system[] = {"BUTTON", "EDIT", "STATIC"};
  for (const char *name : system)
    if (_stricmp(cls.c_str(), name) == 0) return name;
  style &= 0xFFFF0000;  // our own class-specific bits mean nothing to a system class
  if (cls.find("Button") != std::string::npos) return "BUTTON";
  return "STATIC";
}
