// Entry point of Bootlog.dll.
#include <windows.h>

#include "module/ModuleLifetime.h"
#include "template/ModulState.h"

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  switch (reason) {
    case DLL_PROCESS_ATTACH:
      DisableThreadLibraryCalls(instance);
      ModulLoad(instance);
      break;
    case DLL_PROCESS_DETACH:
      ModulUnload(reserved != nullptr);
      break;
    default:
      break;
  }
  return TRUE;
}
