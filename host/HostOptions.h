// Settings of the demo host: what it passes to ModulCreate and how it starts.
#pragma once

#include <string>
#include <vector>

struct HostOptions {
  int language = 0;                      // 0 German, 1 English
  int osCode = 13;                       // Windows XP
  int validOsMask = 4096 + 1024 + 512;   // XP, 2000, NT
  int helpNr = 263;
  bool openAtStart = false;
  bool realBootDrive = false;            // /realc: allowed to change a real c:\AUTOEXEC.BAT
  std::string caption = "Rechnerstart in Datei festhalten";
  std::string hint = "Hält jeden Start des Rechners in c:\\winboot.log fest.";
  std::string dllPath;                   // empty: Bootlog.dll beside the host
  std::string logFile;                   // empty: the log goes to the window only
  std::vector<std::string> press;        // controls of the tip to click once it is open
};

// Reads "/lang N /os N /mask N /help N /open /realc /caption TEXT /hint TEXT /dll PATH
// /log FILE /press NAME" (options start with '/' or '-', any case).  Every option is optional.
// A bad option or value is described in errors and leaves the default in place.
HostOptions ParseHostOptions(const std::vector<std::string> &args,
                             std::vector<std::string> &errors);

// A whole decimal number with an optional sign, or hexadecimal after "0x"; blanks
// around it are allowed.  False for anything else or for a value outside int.
bool ParseNumber(const std::string &text, int &value);

// The lowest and highest operating-system code a host passes.
constexpr int kFirstOsCode = 1;
constexpr int kLastOsCode = 18;

// Name of an operating-system code, or "" for the codes that have none.
const char *OsName(int code);

// Short name for a check box of the valid-system mask (codes 1..13).
const char *OsShortName(int code);
