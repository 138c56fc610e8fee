// A small host for trying the tip module by hand: it loads Bootlog.dll the way
// Tessaly 2000 does, opens the tip beside its own panel, calls every export,
// sends every command of the "Orvane" message to the tip window and logs what comes back.
#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cctype>
#include <fstream>
#include <string>
#include <vector>

#include "ChooseDirDemo.h"
#include "HostOptions.h"
#include "module/ModulExports.h"
#include "template/HostContract.h"

namespace {

// Where the host and the tip go.  The tip window's size includes its frame; its client
// area is 292 x 426 at 96 DPI.
constexpr int kHostWidth = 290;
constexpr int kHostHeight = 860;
constexpr int kTipLeft = 300;
constexpr int kTipTop = 1;
constexpr int kTipWidth = 300;
constexpr int kTipHeight = 460;


constexpr UINT WM_APP_OPEN = WM_APP + 1;
constexpr UINT_PTR kStatusTimer = 1;
constexpr int kMaxLogLines = 5000;

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
const char *const kExportNames[kExportCount] = {"ModulCreate", "ModulChanged", "ModulNr",
                                                "ModulSaveChanges", "ModulFree"};

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

Host g_host;

HWND Item(int id) { return GetDlgItem(g_host.window, id); }

std::string ItemText(int id) {
  HWND item = Item(id);
  int length = GetWindowTextLengthA(item);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  GetWindowTextA(item, &text[0], length + 1);
  text.resize(static_cast<size_t>(length));
  return text;
}

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

// ---------------------------------------------------------------------- the tip window

struct TipSearch {
  DWORD process;
  HWND host;
  const std::string *caption;
  HWND best;
  int bestScore;
};

BOOL CALLBACK RateTopLevelWindow(HWND window, LPARAM param) {
  TipSearch &search = *reinterpret_cast<TipSearch *>(param);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != search.process || window == search.host) return TRUE;

  char text[256] = "";
  GetWindowTextA(window, text, sizeof text);
  RECT rect;
  GetWindowRect(window, &rect);
  bool captionMatches = !search.caption->empty() && *search.caption == text;
  bool visible = IsWindowVisible(window) != FALSE;
  bool sized = rect.right > rect.left && rect.bottom > rect.top;
  bool framed = (GetWindowLongA(window, GWL_STYLE) & WS_CAPTION) == WS_CAPTION;
  bool owned = GetWindow(window, GW_OWNER) != nullptr;
  // Without the caption only a visible, framed window of its own counts.
  if (!captionMatches && !(visible && sized && framed && !owned)) return TRUE;

  int score = (captionMatches ? 8 : 0) + (visible ? 4 : 0) + (sized ? 2 : 0) + (framed ? 1 : 0);
  if (score > search.bestScore) {  // on a tie the window higher in the z-order wins
    search.best = window;
    search.bestScore = score;
  }
  return TRUE;
}

// The tip window is a top-level window of this process that is not the host's: the one
// with the caption the tip was opened with, else a visible framed window of its own.
// Hidden helper windows with the same caption lose against a visible one.
HWND FindTipWindow() {
  std::string caption = g_host.tipCaption.empty() ? ItemText(IDC_CAPTION) : g_host.tipCaption;
  TipSearch search{GetCurrentProcessId(), g_host.window, &caption, nullptr, -1};
  EnumWindows(RateTopLevelWindow, reinterpret_cast<LPARAM>(&search));
  return search.best;
}

unsigned long HandleValue(HWND window) {
  return static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(window));
}

std::string DescribeWindow(HWND window) {
  if (!window) return "no tip window";
  RECT rect;
  GetWindowRect(window, &rect);
  char text[160];
  std::snprintf(text, sizeof text, "0x%08lX  at %ld,%ld  %ld × %ld%s",
                HandleValue(window),
                rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                IsWindowVisible(window) ? "" : "  (hidden)");
  return text;
}

void RefreshTipState() {
  std::string state = "Window: " + DescribeWindow(FindTipWindow());
  if (state != g_host.tipState) {
    g_host.tipState = state;
    SetWindowTextA(Item(IDC_TIPSTATE), state.c_str());
  }
}

// Values travel sign-extended, so that a negative number stays negative for a tip that
// reads them as int as well as for one that reads them as LONG_PTR.
void SendToTip(int command, int argument) {
  HWND tip = FindTipWindow();
  if (!tip) {
    Log("Not sent (%d, %d): no tip window", command, argument);
    return;
  }
  Log("Sending (%d, %d) to 0x%08lX", command, argument, HandleValue(tip));
  LRESULT result = SendMessageA(tip, g_host.orvaneMessage,
                                static_cast<WPARAM>(static_cast<INT_PTR>(command)),
                                static_cast<LPARAM>(argument));
  Log("  returned %lld; %s", static_cast<long long>(result),
      DescribeWindow(IsWindow(tip) ? tip : nullptr).c_str());
  RefreshTipState();
}

bool ReadNumber(int id, const char *what, int &value) {
  if (ParseNumber(ItemText(id), value)) return true;
  Log("%s: \"%s\" is not a number", what, ItemText(id).c_str());
  return false;
}

void SendCommand(int command) {
  int argument = 0;
  if (command >= int(cmdLeft) && command <= int(cmdHeight) &&
      !ReadNumber(IDC_LPARAM, "LParam", argument))
    return;
  SendToTip(command, argument);
}

void SendCustom() {
  int command, argument;
  if (ReadNumber(IDC_CUSTOM_WPARAM, "WParam", command) &&
      ReadNumber(IDC_CUSTOM_LPARAM, "LParam", argument))
    SendToTip(command, argument);
}

// ---------------------------------------------------------------------- the module

void ShowResult(Export which, const char *text) {
  SetWindowTextA(Item(IDC_RESULT_FIRST + which), text);
}

void UpdateModuleControls() {
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

int ReadOsCode() {
  LRESULT selection = SendMessageA(Item(IDC_OSCODE), CB_GETCURSEL, 0, 0);
  return selection == CB_ERR ? 0 : static_cast<int>(selection) + kFirstOsCode;
}

// The language box takes a number of its own as well as one of its two entries.
bool ReadLanguage(int &language) {
  std::string text = ItemText(IDC_LANGUAGE);
  size_t end = text.find_first_not_of("+-0123456789", text.find_first_not_of(' '));
  if (ParseNumber(text.substr(0, end), language)) return true;
  Log("Language: \"%s\" is not a number", text.c_str());
  return false;
}

// Under Wine, c:\ is the prefix's own folder; on Windows it is the machine's boot drive.
bool UnderWine() {
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

// ---------------------------------------------------------------------- settings

void ShowMaskHex(int mask) {
  char text[32];
  std::snprintf(text, sizeof text, "= 0x%08X", static_cast<unsigned int>(mask));
  SetWindowTextA(Item(IDC_MASKHEX), text);
}

// The check boxes follow the number; bits of the unnamed codes 14..18 and above stay
// in the number untouched.
void MaskEdited() {
  if (g_host.updatingMask) return;
  int mask;
  bool valid = ParseNumber(ItemText(IDC_MASK), mask);
  SetWindowTextA(Item(IDC_MASKHEX), "");
  if (!valid) return;
  ShowMaskHex(mask);
  g_host.updatingMask = true;
  for (int bit = 0; bit < kNamedMaskBits; ++bit)
    CheckDlgButton(g_host.window, IDC_MASKBIT_FIRST + bit,
                   (mask >> bit) & 1 ? BST_CHECKED : BST_UNCHECKED);
  g_host.updatingMask = false;
}

void MaskBitClicked() {
  int mask = 0;
  ParseNumber(ItemText(IDC_MASK), mask);
  mask &= ~((1 << kNamedMaskBits) - 1);
  for (int bit = 0; bit < kNamedMaskBits; ++bit)
    if (IsDlgButtonChecked(g_host.window, IDC_MASKBIT_FIRST + bit) == BST_CHECKED)
      mask |= 1 << bit;
  char text[16];
  std::snprintf(text, sizeof text, "%d", mask);
  g_host.updatingMask = true;
  SetWindowTextA(Item(IDC_MASK), text);
  g_host.updatingMask = false;
  ShowMaskHex(mask);
}

void SetItemNumber(int id, int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%d", value);
  SetWindowTextA(Item(id), text);
}

void ApplyOptions(const HostOptions &options) {
  HWND language = Item(IDC_LANGUAGE);
  if (options.language == 0 || options.language == 1)
    SendMessageA(language, CB_SETCURSEL, options.language, 0);
  else
    SetItemNumber(IDC_LANGUAGE, options.language);
  SendMessageA(Item(IDC_OSCODE), CB_SETCURSEL, options.osCode - kFirstOsCode, 0);
  SetItemNumber(IDC_MASK, options.validOsMask);  // the check boxes follow
  SetItemNumber(IDC_HELPNR, options.helpNr);
  SetWindowTextA(Item(IDC_CAPTION), options.caption.c_str());
}

// ---------------------------------------------------------------------- the window

HWND AddControl(const char *className, const char *text, DWORD style, int x, int y, int width,
                int height, int id, DWORD exStyle = 0) {
  HWND control = CreateWindowExA(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, x, y,
                                 width, height, g_host.window,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 g_host.instance, nullptr);
  SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(g_host.font), FALSE);
  return control;
}

void AddGroup(const char *text, int y, int height) {
  AddControl("BUTTON", text, BS_GROUPBOX, 8, y, 264, height, -1);
}
void AddLabel(const char *text, int x, int y, int width) {
  AddControl("STATIC", text, SS_LEFT, x, y + 3, width, 14, -1);
}
void AddButton(const char *text, int x, int y, int width, int id) {
  AddControl("BUTTON", text, BS_PUSHBUTTON | WS_TABSTOP, x, y, width, 23, id);
}
void AddEdit(int x, int y, int width, int id) {
  AddControl("EDIT", "", ES_AUTOHSCROLL | WS_TABSTOP, x, y, width, 20, id, WS_EX_CLIENTEDGE);
}

// Client coordinates at 96 DPI; the panel is 280 wide, groups take x 8..272.  The
// widths leave room for fonts wider than Tahoma.
constexpr int kLogTop = 562;

void CreateControls() {
  // Settings passed to ModulCreate.
  AddGroup("Settings for ModulCreate", 4, 240);
  AddLabel("Language:", 16, 22, 86);
  HWND language = AddControl("COMBOBOX", "", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL |
                             WS_TABSTOP, 104, 22, 160, 120, IDC_LANGUAGE);
  SendMessageA(language, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("0 - Deutsch"));
  SendMessageA(language, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("1 - English"));

  AddLabel("System:", 16, 49, 86);
  HWND osCode = AddControl("COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 104, 49,
                           160, 340, IDC_OSCODE);
  for (int code = kFirstOsCode; code <= kLastOsCode; ++code) {
    char text[80];
    std::snprintf(text, sizeof text, "%d - %s", code, *OsName(code) ? OsName(code) : "(unnamed)");
    SendMessageA(osCode, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  }
  SendMessageA(osCode, CB_SETDROPPEDWIDTH, 290, 0);

  AddLabel("Valid systems:", 16, 76, 86);
  AddEdit(104, 76, 64, IDC_MASK);
  AddControl("STATIC", "", SS_LEFT, 174, 79, 90, 14, IDC_MASKHEX);
  // Five rows; the middle column takes the long names of the service releases.
  const int columnX[] = {22, 94, 194}, columnWidth[] = {70, 98, 70};
  for (int bit = 0; bit < kNamedMaskBits; ++bit) {
    int column = bit / 5, row = bit % 5;
    AddControl("BUTTON", OsShortName(bit + 1), BS_AUTOCHECKBOX | WS_TABSTOP, columnX[column],
               101 + row * 17, columnWidth[column], 16, IDC_MASKBIT_FIRST + bit);
  }
  AddLabel("Help number:", 16, 190, 86);
  AddEdit(104, 190, 64, IDC_HELPNR);
  AddLabel("Caption:", 16, 216, 86);
  AddEdit(104, 216, 160, IDC_CAPTION);

  // The exports and what they returned; the wide column takes the long names.
  AddGroup("Exports of the module", 250, 122);
  const struct { Export which; int x, y, width; } buttons[] = {
      {kCreate, 16, 268, 118},      {kChanged, 16, 295, 118}, {kSaveChanges, 16, 322, 118},
      {kNr, 166, 268, 76},          {kFree, 166, 295, 76}};
  for (const auto &b : buttons) {
    AddButton(kExportNames[b.which], b.x, b.y, b.width, IDC_CREATE + b.which);
    AddControl("STATIC", "", SS_CENTER | SS_CENTERIMAGE, b.x + b.width + 3, b.y + 1,
               b.x == 16 ? 24 : 19, 21, IDC_RESULT_FIRST + b.which, WS_EX_STATICEDGE);
  }
  AddButton("FreeLibrary", 166, 322, 98, IDC_LOADDLL);
  AddControl("STATIC", "", SS_LEFT | SS_PATHELLIPSIS | SS_NOPREFIX, 16, 350, 248, 14,
             IDC_DLLSTATE);

  // Commands of the "Orvane" message.
  AddGroup("Commands to the tip window", 378, 152);
  AddControl("STATIC", "", SS_LEFT | SS_ENDELLIPSIS | SS_NOPREFIX, 16, 396, 248, 14,
             IDC_TIPSTATE);
  AddLabel("LParam:", 16, 416, 50);
  AddEdit(68, 416, 60, IDC_LPARAM);
  AddLabel("for 10 to 13", 136, 416, 128);
  AddButton("10 Left", 16, 443, 59, IDC_SEND_LEFT);
  AddButton("11 Top", 79, 443, 59, IDC_SEND_TOP);
  AddButton("12 Width", 142, 443, 59, IDC_SEND_WIDTH);
  AddButton("13 Height", 205, 443, 59, IDC_SEND_HEIGHT);
  AddButton("0 Close", 16, 470, 80, IDC_SEND_CLOSE);
  AddButton("100 Nothing", 100, 470, 80, IDC_SEND_NOTHING);
  AddButton("200 Show", 184, 470, 80, IDC_SEND_SHOW);
  AddLabel("WParam:", 16, 500, 52);
  AddEdit(70, 500, 40, IDC_CUSTOM_WPARAM);
  AddLabel("LParam:", 116, 500, 48);
  AddEdit(166, 500, 40, IDC_CUSTOM_LPARAM);
  AddButton("Send", 212, 499, 52, IDC_SEND_CUSTOM);
  SetWindowTextA(Item(IDC_LPARAM), "1");
  SetWindowTextA(Item(IDC_CUSTOM_WPARAM), "-1");
  SetWindowTextA(Item(IDC_CUSTOM_LPARAM), "0");

  // The log: broadcasts received and export results, newest at the bottom.
  AddLabel("Log (broadcasts and results):", 8, kLogTop - 24, 190);
  AddButton("Clear", 212, kLogTop - 26, 60, IDC_CLEARLOG);
  AddControl("LISTBOX", "", LBS_NOINTEGRALHEIGHT | LBS_NOSEL | WS_VSCROLL | WS_HSCROLL |
             WS_TABSTOP, 8, kLogTop, 264, 100, IDC_LOG, WS_EX_CLIENTEDGE);
}

void LayoutLog(int clientHeight) {
  int height = clientHeight - kLogTop - 8;
  MoveWindow(Item(IDC_LOG), 8, kLogTop, 264, height > 40 ? height : 40, TRUE);
}

void OnBroadcast(WPARAM command, LPARAM argument) {
  long long wp = static_cast<INT_PTR>(command), lp = argument;
  if (wp == cmdShow) {
    Log("Received 200 (switch window), LParam %lld: the host comes to the front", lp);
    if (IsIconic(g_host.window)) ShowWindow(g_host.window, SW_RESTORE);
    SetForegroundWindow(g_host.window);
  } else if (wp == cmdSaved) {
    Log("Received 9999 (OK pressed), LParam %lld: %s", lp,
        argument == 1   ? "Undo had been pressed"
        : argument == 2 ? "Undo had not been pressed"
                        : "unexpected value");
    ShowBootFiles();
  } else {
    Log("Received %lld, LParam %lld", wp, lp);
  }
  RefreshTipState();
}

void OnCommand(int id, int code) {
  if (id >= IDC_MASKBIT_FIRST && id < IDC_MASKBIT_FIRST + kNamedMaskBits) {
    if (code == BN_CLICKED) MaskBitClicked();
    return;
  }
  if (id == IDC_MASK) {
    if (code == EN_CHANGE) MaskEdited();
    return;
  }
  if (code != BN_CLICKED) return;
  switch (id) {
    case IDC_CREATE: CallCreate(); break;
    case IDC_CHANGED: CallQuery(kChanged); break;
    case IDC_NR: CallQuery(kNr); break;
    case IDC_SAVECHANGES: CallQuery(kSaveChanges); break;
    case IDC_FREE: CallQuery(kFree); break;
    case IDC_LOADDLL: g_host.dll ? UnloadModule() : LoadModule(); break;
    case IDC_SEND_CLOSE: SendCommand(cmdClose); break;
    case IDC_SEND_NOTHING: SendCommand(cmdAccepted); break;
    case IDC_SEND_SHOW: SendCommand(cmdShow); break;
    case IDC_SEND_LEFT: SendCommand(cmdLeft); break;
    case IDC_SEND_TOP: SendCommand(cmdTop); break;
    case IDC_SEND_WIDTH: SendCommand(cmdWidth); break;
    case IDC_SEND_HEIGHT: SendCommand(cmdHeight); break;
    case IDC_SEND_CUSTOM: SendCustom(); break;
    case IDC_CLEARLOG:
      SendMessageA(Item(IDC_LOG), LB_RESETCONTENT, 0, 0);
      g_host.logExtent = 0;
      SendMessageA(Item(IDC_LOG), LB_SETHORIZONTALEXTENT, 0, 0);
      break;
  }
}

void PressTipControl(const std::string &name);

LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == g_host.orvaneMessage && message != 0) {
    OnBroadcast(wParam, lParam);
    return 0;
  }
  switch (message) {
    case WM_CREATE:
      g_host.window = window;
      CreateControls();
      SetTimer(window, kStatusTimer, 500, nullptr);
      return 0;
    case WM_SIZE:
      LayoutLog(HIWORD(lParam));
      return 0;
    case WM_GETMINMAXINFO: {
      // Only the height changes; the log takes what there is.
      MINMAXINFO *info = reinterpret_cast<MINMAXINFO *>(lParam);
      info->ptMinTrackSize.x = info->ptMaxTrackSize.x = kHostWidth;
      info->ptMinTrackSize.y = kLogTop + 120;
      return 0;
    }
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_TIMER:
      if (wParam == kStatusTimer) RefreshTipState();
      return 0;
    case WM_APP_OPEN:
      CallCreate();
      for (const std::string &name : g_host.options.press) PressTipControl(name);
      return 0;
    case WM_DESTROY:
      KillTimer(window, kStatusTimer);
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// Clicks a control of the tip window, found by the component name the module gives each
// of its windows, as a person would with the mouse.
static BOOL CALLBACK FindNamedControl(HWND h, LPARAM l) {
  auto *search = reinterpret_cast<std::pair<const std::string *, HWND> *>(l);
  auto *name = static_cast<const char *>(GetPropA(h, "TkName"));
  if (name && *search->first == name) {
    search->second = h;
    return FALSE;
  }
  return TRUE;
}

void PressTipControl(const std::string &name) {
  HWND tip = FindTipWindow();
  std::pair<const std::string *, HWND> search(&name, nullptr);
  if (tip) EnumChildWindows(tip, FindNamedControl, LPARAM(&search));
  if (!search.second) {
    Log("/press: no control %s", name.c_str());
    return;
  }
  SendMessageA(search.second, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
  SendMessageA(search.second, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
  Log("pressed %s", name.c_str());
}

std::string HostFolder() {
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length);
  size_t slash = folder.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
}

HFONT CreateControlFont() {
  HDC screen = GetDC(nullptr);
  int height = -MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72);
  ReleaseDC(nullptr, screen);
  HFONT font = CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                           DEFAULT_PITCH | FF_SWISS, "Tahoma");
  return font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  std::vector<std::string> args(__argv + 1, __argv + __argc);
  if (!args.empty() && IsChooseDirOption(args[0]))
    return RunChooseDirDemo(std::vector<std::string>(args.begin() + 1, args.end()));
  std::vector<std::string> errors;
  g_host.options = ParseHostOptions(args, errors);
  g_host.instance = instance;
  g_host.font = CreateControlFont();
  g_host.orvaneMessage = RegisterWindowMessageA(kHostMessageName);
  g_host.dllPath = g_host.options.dllPath.empty() ? HostFolder() + "Bootlog.dll"
                                                  : g_host.options.dllPath;
  if (!g_host.options.logFile.empty())
    g_host.logFile = std::fopen(g_host.options.logFile.c_str(), "ab");

  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = HostWindowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = "TessalyDemoHost";
  RegisterClassA(&windowClass);

  RECT workArea;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
  int height = workArea.bottom - workArea.top;
  if (height > kHostHeight || height < kLogTop + 120) height = kHostHeight;
  HWND window = CreateWindowExA(0, windowClass.lpszClassName, "Tessaly 2000 - Demo-Host",
                                WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME |
                                    WS_MINIMIZEBOX,
                                0, 0, kHostWidth, height, nullptr, nullptr, instance, nullptr);
  if (!window) return 1;

  ApplyOptions(g_host.options);
  for (const std::string &error : errors) Log("%s", error.c_str());
  Log("Message \"Orvane\" = 0x%04X", g_host.orvaneMessage);
  LoadModule();
  ShowWindow(window, show);
  UpdateWindow(window);
  if (g_host.options.openAtStart) PostMessageA(window, WM_APP_OPEN, 0, 0);

  // Messages of the tip window pass through here as well: only the host's own window
  // gets dialog keyboard handling.
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if ((message.hwnd == window || IsChild(window, message.hwnd)) &&
        IsDialogMessageA(window, &message))
      continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  if (g_host.logFile) std::fclose(g_host.logFile);
  return static_cast<int>(message.wParam);
}
