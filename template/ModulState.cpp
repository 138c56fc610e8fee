#include "template/ModulState.h"

int32_t ModulLanguage = 0;
int32_t ModulOsCode = 0;
int32_t ModulOsBit = 0;
int32_t ModulValidOsMask = 0;
bool ModulTipValid = false;
bool ModulChangedFlag = false;
bool ModulOkFlag = false;
bool ModulUndoFlag = false;
uint16_t ModulMessageId = 0;
