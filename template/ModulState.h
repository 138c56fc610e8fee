// The module-wide state that the exports, the template window and the boot-log window
// share.  The flags are set once and never reset while the module is loaded.
#pragma once
#include <windows.h>

#include <cstdint>

extern int32_t ModulLanguage;     // 1 = English, any other value German
extern int32_t ModulOsCode;       // the host's code of the running system, 1 to 18
extern int32_t ModulOsBit;        // 1 shl (code - 1), or 0
extern int32_t ModulValidOsMask;  // the systems the tip is valid for
extern bool ModulTipValid;
extern bool ModulChangedFlag;  // set by nothing, so ModulChanged answers 0; kept for it
extern bool ModulOkFlag;
extern bool ModulUndoFlag;
extern uint16_t ModulMessageId;   // the registered message "Orvane"; 0 if registration failed
