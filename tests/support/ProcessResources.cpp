#include "support/ProcessResources.h"

#include <windows.h>

#include <winternl.h>

// GDI objects of the process.  GetGuiResources answers 0 under Wine; there the shared
// handle table the PEB points to is read instead: 24-byte entries, a nonzero type at
// offset 14 while the object lives (Wine's table belongs to the process alone).
int CountGdiObjects() {
  DWORD gui = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  if (gui) return int(gui);
  typedef LONG(NTAPI * QueryProc)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
  auto query = reinterpret_cast<QueryProc>(
      GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess"));
  PROCESS_BASIC_INFORMATION info{};
  if (!query || query(GetCurrentProcess(), ProcessBasicInformation, &info, sizeof info, nullptr)) return -1;
  const BYTE *peb = reinterpret_cast<const BYTE *>(info.PebBaseAddress);
  const BYTE *table = *reinterpret_cast<const BYTE *const *>(peb + (sizeof(void *) == 8 ? 0xF8 : 0x94));
  if (!table) return -1;
  int n = 0;
  for (int i = 0; i < 0x10000; ++i) n += table[24 * i + 14] != 0;
  return n;
}

// Kernel handles of the process (find handles hold one each), by asking each value.
int CountKernelHandles() {
  int n = 0;
  DWORD flags;
  for (UINT_PTR v = 4; v < 0x4000; v += 4) n += GetHandleInformation(HANDLE(v), &flags) != 0;
  return n;
}

int CountThreadWindows() {
  int n = 0;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND h, LPARAM l) -> BOOL {
        ++*reinterpret_cast<int *>(l);
        EnumChildWindows(
            h, [](HWND, LPARAM l2) -> BOOL { return ++*reinterpret_cast<int *>(l2), TRUE; }, l);
        return TRUE;
      },
      LPARAM(&n));
  return n;
}

std::ostream &operator<<(std::ostream &os, const Resources &r) {
  return os << "windows " << r.windows << ", GDI " << r.gdi << ", USER " << r.user << ", handles " << r.handles;
}
Resources Count() {
  return {CountThreadWindows(), CountGdiObjects(), int(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)),
          CountKernelHandles()};
}
