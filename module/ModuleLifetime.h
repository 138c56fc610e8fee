// The steps of loading and unloading the module, run by the library's entry point (and
// by programs that run the module's code in-process).
#pragma once
#include <windows.h>

void ModulLoad(HINSTANCE instance);
void ModulUnload(bool processEnding = false);
