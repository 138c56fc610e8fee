// The exported functions of the module, as the module declares them.
#pragma once
#include "module/ModulExports.h"

extern "C" {
int MODUL_REGISTER_CALL ModulCreate(MODUL_CREATE_PARAMS);
int MODUL_EXPORT_CALL ModulChanged();
int MODUL_EXPORT_CALL ModulNr();
int MODUL_EXPORT_CALL ModulSaveChanges();
int MODUL_EXPORT_CALL ModulFree();
}
