// The exported functions of the module, as the module declares them.
#pragma once
#include "module/ModulExports.h"

extern "C" {
// Parameters 4 to 10 in reverse on i686 (see ModulExports.h).
#if defined(__i386__)
int MODUL_REGISTER_CALL ModulCreate(int ALeft, int ATop, int AWidth, int AHelpNr, int AValidOSMask,
                                    const char *AHint, const char *ACaption, int ALanguage,
                                    int AOSCode, int AHeight);
#else
int MODUL_REGISTER_CALL ModulCreate(int ALeft, int ATop, int AWidth, int AHeight, int AOSCode,
                                    int ALanguage, const char *ACaption, const char *AHint,
                                    int AValidOSMask, int AHelpNr);
#endif
int MODUL_EXPORT_CALL ModulChanged();
int MODUL_EXPORT_CALL ModulNr();
int MODUL_EXPORT_CALL ModulSaveChanges();
int MODUL_EXPORT_CALL ModulFree();
}
