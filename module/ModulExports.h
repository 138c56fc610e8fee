// The five entry points of a tip module, as a host declares them.
//
// ModulCreate follows the host's register convention on 32-bit x86: the first three
// parameters travel in EAX, EDX and ECX, parameters 4 to 10 are pushed in declaration
// order (so the tenth lies next to the return address) and the callee pops those 28
// bytes.  GCC pushes stack parameters right to left, so on i686 the stack parameters are
// declared in reverse.  On x86_64 there is one convention and the declaration order is
// the natural one.  Callers use CallModulCreate and never see the difference.
#pragma once

#if defined(__i386__)
#define MODUL_REGISTER_CALL __attribute__((regparm(3), stdcall))
#define MODUL_EXPORT_CALL __stdcall
#else
#define MODUL_REGISTER_CALL
#define MODUL_EXPORT_CALL
#endif

// ModulCreate's parameters in the host's order: ALeft, ATop, AWidth, AHeight, AOSCode,
// ALanguage, ACaption, AHint, AValidOSMask, AHelpNr.
#if defined(__i386__)
typedef int(MODUL_REGISTER_CALL *TModulCreateProc)(int ALeft, int ATop, int AWidth, int AHelpNr,
                                                   int AValidOSMask, const char *AHint,
                                                   const char *ACaption, int ALanguage,
                                                   int AOSCode, int AHeight);
#else
typedef int(MODUL_REGISTER_CALL *TModulCreateProc)(int ALeft, int ATop, int AWidth, int AHeight,
                                                   int AOSCode, int ALanguage,
                                                   const char *ACaption, const char *AHint,
                                                   int AValidOSMask, int AHelpNr);
#endif
typedef int(MODUL_EXPORT_CALL *TModulQueryProc)();  // ModulChanged, ModulNr, ModulSaveChanges, ModulFree

inline int CallModulCreate(TModulCreateProc proc, int ALeft, int ATop, int AWidth,
                           int AHeight, int AOSCode, int ALanguage, const char *ACaption,
                           const char *AHint, int AValidOSMask, int AHelpNr) {
#if defined(__i386__)
  return proc(ALeft, ATop, AWidth, AHelpNr, AValidOSMask, AHint, ACaption, ALanguage,
              AOSCode, AHeight);
#else
  return proc(ALeft, ATop, AWidth, AHeight, AOSCode, ALanguage, ACaption, AHint,
              AValidOSMask, AHelpNr);
#endif
}
