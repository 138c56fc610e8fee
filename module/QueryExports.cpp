#include "module/Exports.h"

#include "template/ModulState.h"

extern "C" int MODUL_EXPORT_CALL ModulChanged() {
  if (!ModulChangedFlag) return 0;
  return ModulOkFlag ? 2 : 1;
}

extern "C" int MODUL_EXPORT_CALL ModulNr() { return ModulUndoFlag ? 1 : 2; }
