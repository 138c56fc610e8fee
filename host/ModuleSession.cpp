// The module session of the demo host: Bootlog.dll loaded and unloaded, its five exports
// called with the settings of the host window, what they return, and the log of it all.
#include <windows.h>

#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "DemoHost.h"

const char *const kExportNames[kExportCount] = {"ModulCreate", "ModulChanged", "ModulNr",
                                                "ModulSaveChanges", "ModulFree"};

namespace {
constexpr int kMaxLogLines = 5000;
}  // namespace

// ---------------------------------------------------------------------------- log

void Log(const char *format, ...) {
  char text[1024];
  SYSTEMTIME now;
  GetLocalTime(&now);
  int prefix = std::snprintf(text, sizeof text, "%02u:%02u:%02u  ", now.wHour, now.wMinute,
                             now.wSecond);
  va_list args;
  va_start(args, format);
  std::vsnprintf(text + prefix, sizeof text - prefix, format, args);
  va_end(args);

  if (g_host.logFile) {
    std::fprintf(g_host.logFile, "%s\r\n", text);
    std::fflush(g_host.logFile);
  }
  HWND list = Item(IDC_LOG);
  if (!list) return;
  if (SendMessageA(list, LB_GETCOUNT, 0, 0) >= kMaxLogLines)
    SendMessageA(list, LB_DELETESTRING, 0, 0);
  LRESULT index = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  SendMessageA(list, LB_SETTOPINDEX, index, 0);

  // Long lines get a horizontal scroll bar.
  HDC dc = GetDC(list);
  HGDIOBJ old = SelectObject(dc, g_host.font);
  SIZE size;
  GetTextExtentPoint32A(dc, text, static_cast<int>(std::strlen(text)), &size);
  SelectObject(dc, old);
  ReleaseDC(list, dc);
  if (size.cx + 8 > g_host.logExtent) {
    g_host.logExtent = size.cx + 8;
    SendMessageA(list, LB_SETHORIZONTALEXTENT, g_host.logExtent, 0);
  }
}

// ---------------------------------------------------------------------- the module

static void ShowResult(Export which, const char *text) {
  SetWindowTextA(Item(IDC_RESULT_FIRST + which), text);
}

static void UpdateModuleControls() {
  bool loaded = g_host.dll != nullptr;
  EnableWindow(Item(IDC_CREATE), g_host.create != nullptr);
  for (int i = kChanged; i < kExportCount; ++i)
    EnableWindow(Item(IDC_CREATE + i), g_host.queries[i] != nullptr);
  SetWindowTextA(Item(IDC_LOADDLL), loaded ? "FreeLibrary" : "LoadLibrary");
  std::string state = (loaded ? "Loaded: " : "Not loaded: ") + g_host.dllPath;
  SetWindowTextA(Item(IDC_DLLSTATE), state.c_str());
}

void LoadModule() {
  g_host.dll = LoadLibraryA(g_host.dllPath.c_str());
  if (!g_host.dll) {
    Log("LoadLibrary(\"%s\") failed, error %lu", g_host.dllPath.c_str(), GetLastError());
  } else {
    Log("Loaded %s", g_host.dllPath.c_str());
    g_host.create =
        reinterpret_cast<TModulCreateProc>(GetProcAddress(g_host.dll, kExportNames[kCreate]));
    for (int i = kChanged; i < kExportCount; ++i)
      g_host.queries[i] =
          reinterpret_cast<TModulQueryProc>(GetProcAddress(g_host.dll, kExportNames[i]));
    for (int i = kCreate; i < kExportCount; ++i) {
      bool found = i == kCreate ? g_host.create != nullptr : g_host.queries[i] != nullptr;
      if (!found) Log("  the export %s is missing", kExportNames[i]);
    }
  }
  for (int i = kCreate; i < kExportCount; ++i) ShowResult(static_cast<Export>(i), "");
  UpdateModuleControls();
}

void UnloadModule() {
  if (HWND tip = FindTipWindow()) {
    Log("Not unloaded: the tip window 0x%08lX still exists (command 0 or ModulFree closes it)",
        HandleValue(tip));
    return;
  }
  FreeLibrary(g_host.dll);
  g_host.dll = nullptr;
  g_host.create = nullptr;
  for (TModulQueryProc &query : g_host.queries) query = nullptr;
  Log("Unloaded %s", g_host.dllPath.c_str());
  for (int i = kCreate; i < kExportCount; ++i) ShowResult(static_cast<Export>(i), "");
  UpdateModuleControls();
}

// Under Wine, c:\ is the prefix's own folder; on Windows it is the machine's boot drive.
static bool UnderWine() {
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

// What OK left on the boot drive: AUTOEXEC.BAT, and every LOG.BAT it calls.
void ShowBootFiles() {
  std::ifstream autoexec("c:\\AUTOEXEC.BAT", std::ios::binary);
  if (!autoexec) {
    Log("c:\\AUTOEXEC.BAT cannot be read");
    return;
  }
  Log("c:\\AUTOEXEC.BAT now reads:");
  std::vector<std::string> called;
  for (std::string line; std::getline(autoexec, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    Log("  | %s", line.c_str());
    std::string lower = line;
    for (char &c : lower) c = char(std::tolower(static_cast<unsigned char>(c)));
    if (lower.compare(0, 6, "@call ") == 0 && lower.find("log.bat") != std::string::npos)
      called.push_back(line.substr(6));
  }
  for (const std::string &path : called) {
    std::ifstream logBat(path, std::ios::binary);
    Log("%s %s", path.c_str(), logBat ? "reads:" : "cannot be read");
    for (std::string line; logBat && std::getline(logBat, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      Log("  | %s", line.c_str());
    }
  }
}

// The buttons of missing exports are disabled; the checks guard against clicks that
// reach a disabled button all the same.
void CallCreate() {
  if (!g_host.create) {
    Log("ModulCreate is not available");
    return;
  }
  if (!UnderWine() && !g_host.options.realBootDrive) {
    Log("Not opened: on Windows the tip's OK changes this machine's c:\\AUTOEXEC.BAT. "
        "Start the host with /realc to allow that.");
    return;
  }
  int language, mask, helpNr;
  if (!ReadLanguage(language) || !ReadNumber(IDC_MASK, "Valid systems", mask) ||
      !ReadNumber(IDC_HELPNR, "Help number", helpNr))
    return;
  int osCode = ReadOsCode();
  std::string caption = ItemText(IDC_CAPTION);
  const std::string &hint = g_host.options.hint;
  Log("ModulCreate(%d, %d, %d, %d, %d, %d, \"%s\", \"%s\", %d, %d)",
      kTipLeft, kTipTop, kTipWidth, kTipHeight, osCode, language, caption.c_str(),
      hint.c_str(), mask, helpNr);
  g_host.tipCaption = caption;
  int result = CallModulCreate(g_host.create, kTipLeft, kTipTop, kTipWidth, kTipHeight, osCode,
                               language, caption.c_str(), hint.c_str(), mask, helpNr);
  char text[16];
  std::snprintf(text, sizeof text, "%d", result);
  ShowResult(kCreate, text);
  Log("  returned %d; tip window: %s", result, DescribeWindow(FindTipWindow()).c_str());
  RefreshTipState();
}

void CallQuery(Export which) {
  if (!g_host.queries[which]) {
    Log("%s is not available", kExportNames[which]);
    return;
  }
  int result = g_host.queries[which]();
  char text[16];
  std::snprintf(text, sizeof text, "%d", result);
  ShowResult(which, text);
  Log("%s() = %d", kExportNames[which], result);
  RefreshTipState();
}

