// What the benchmarks share: a clock, quantiles of a series of times, and folders full
// of files made once and kept for later runs.
#pragma once
#include <windows.h>

#include <algorithm>
#include <cstdio>
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

// Names in no particular order, so that a list cannot profit from the order of creation.
inline std::string ScatteredName(int i) {
  char name[32];
  std::snprintf(name, sizeof name, "n%08x_%d", unsigned(i) * 2654435761u, i);
  return name;
}

// Makes dir (and the folder it is in) with count empty files.  Wine looks through the
// whole directory for every new name, so large folders take minutes: a folder that
// exists is taken as made by an earlier run.
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
