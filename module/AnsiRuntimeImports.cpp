// The C++ runtime that is linked into the module asks the system for three wide-character
// functions: CreateSemaphoreW (the locks of the exception unwinder, of thread-local data
// and of static initialisation), GetModuleHandleW and LoadLibraryW (looking for a shared
// unwinder library at start-up).  Windows 95, 98 and ME have them only as stubs that fail.
// The runtime's references are resolved here, to the ANSI functions every system has, so
// that the module imports none of the three and behaves alike everywhere.  Only the
// module's own link sees this file; it is for the 32-bit module, where the runtime refers
// to the functions through these import-table names.
#include <windows.h>

#if defined(__i386__)

namespace {

// A wide name as the ANSI functions take it; names of the runtime are plain ASCII.
bool Narrow(LPCWSTR wide, char *out, int size) {
  if (!wide) return false;
  return WideCharToMultiByte(CP_ACP, 0, wide, -1, out, size, nullptr, nullptr) > 0;
}

HANDLE WINAPI AnsiCreateSemaphore(LPSECURITY_ATTRIBUTES attributes, LONG initial, LONG maximum,
                                  LPCWSTR name) {
  char narrow[MAX_PATH];
  return CreateSemaphoreA(attributes, initial, maximum,
                          Narrow(name, narrow, sizeof narrow) ? narrow : nullptr);
}

HMODULE WINAPI AnsiGetModuleHandle(LPCWSTR name) {
  char narrow[MAX_PATH];
  if (!name) return GetModuleHandleA(nullptr);
  return Narrow(name, narrow, sizeof narrow) ? GetModuleHandleA(narrow) : nullptr;
}

HMODULE WINAPI AnsiLoadLibrary(LPCWSTR name) {
  char narrow[MAX_PATH];
  return Narrow(name, narrow, sizeof narrow) ? LoadLibraryA(narrow) : nullptr;
}

}  // namespace

// The import-table slots the runtime calls through.
extern "C" {
void *ImpCreateSemaphoreW __asm__("__imp__CreateSemaphoreW@16") =
    reinterpret_cast<void *>(&AnsiCreateSemaphore);
void *ImpGetModuleHandleW __asm__("__imp__GetModuleHandleW@4") =
    reinterpret_cast<void *>(&AnsiGetModuleHandle);
void *ImpLoadLibraryW __asm__("__imp__LoadLibraryW@4") = reinterpret_cast<void *>(&AnsiLoadLibrary);
}

#endif
