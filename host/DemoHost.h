// What the three parts of the demo host share: the host window (DemoHost.cpp: its
// controls as one table, its window procedure, the settings), the module session
// (ModuleSession.cpp: loading Bootlog.dll, calling the five exports, the log) and the
// remote control of the tip (TipRemote.cpp: finding the tip window, sending it the
// "Orvane" commands, /press).
#pragma once
#include <windows.h>

#include <cstdio>
#include <string>

#include "HostOptions.h"
#include "module/ModulExports.h"

// Where the host and the tip go.  The tip window's size includes its frame; its client
// area is 292 x 426 at 96 DPI.
constexpr int kHostWidth = 290;
constexpr int kHostHeight = 860;
constexpr int kTipLeft = 300;
constexpr int kTipTop = 1;
constexpr int kTipWidth = 300;
constexpr int kTipHeight = 460;

enum ControlId {
  IDC_LANGUAGE = 100,
  IDC_OSCODE,
  IDC_MASK,
  IDC_MASKHEX,
  IDC_HELPNR,
  IDC_CAPTION,
  IDC_MASKBIT_FIRST = 120,  // one check box per named system code, 13 of them
  IDC_CREATE = 200,
  IDC_CHANGED,
  IDC_NR,
  IDC_SAVECHANGES,
  IDC_FREE,
  IDC_RESULT_FIRST = 210,  // results of the five exports, in the same order
  IDC_LOADDLL = 220,
  IDC_DLLSTATE,
  IDC_TIPSTATE = 300,
  IDC_LPARAM,
  IDC_SEND_CLOSE,
  IDC_SEND_NOTHING,
  IDC_SEND_SHOW,
  IDC_SEND_LEFT,
  IDC_SEND_TOP,
  IDC_SEND_WIDTH,
  IDC_SEND_HEIGHT,
  IDC_CUSTOM_WPARAM,
  IDC_CUSTOM_LPARAM,
  IDC_SEND_CUSTOM,
  IDC_CLEARLOG = 400,
  IDC_LOG,
};

constexpr int kNamedMaskBits = 13;

enum Export { kCreate, kChanged, kNr, kSaveChanges, kFree, kExportCount };
extern const char *const kExportNames[kExportCount];

struct Host {
  HINSTANCE instance = nullptr;
  HWND window = nullptr;
  HFONT font = nullptr;
  UINT orvaneMessage = 0;
  HostOptions options;
  std::string dllPath;
  HMODULE dll = nullptr;
  TModulCreateProc create = nullptr;
  TModulQueryProc queries[kExportCount] = {};  // ModulChanged .. ModulFree; [kCreate] unused
  std::string tipCaption;                      // the caption the tip was opened with
  std::string tipState;                        // what the tip line shows now
  bool updatingMask = false;
  int logExtent = 0;
  FILE *logFile = nullptr;
};

extern Host g_host;

// --- the host window (DemoHost.cpp)
HWND Item(int id);
std::string ItemText(int id);
// A number typed into a control; logs what is wrong otherwise.
bool ReadNumber(int id, const char *what, int &value);
int ReadOsCode();
// The language box takes a number of its own as well as one of its two entries.
bool ReadLanguage(int &language);

// --- the module session (ModuleSession.cpp)
// A line of the log, with the time, in the window's list and the /log file.
void Log(const char *format, ...);
void LoadModule();
void UnloadModule();
void CallCreate();
void CallQuery(Export which);
// What OK left on the boot drive: AUTOEXEC.BAT, and every LOG.BAT it calls.
void ShowBootFiles();

// --- the remote control of the tip (TipRemote.cpp)
// The tip window is a top-level window of this process that is not the host's: the one
// with the caption the tip was opened with, else a visible framed window of its own.
HWND FindTipWindow();
std::string DescribeWindow(HWND window);
unsigned long HandleValue(HWND window);
void RefreshTipState();
// Sends the "Orvane" message with a command; the LParam box gives the argument of 10 to 13.
void SendCommand(int command);
// Sends the WParam and LParam typed into the custom boxes.
void SendCustom();
// Clicks a control of the tip window, found by its component name.
void PressTipControl(const std::string &name);
