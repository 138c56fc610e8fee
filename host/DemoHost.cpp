// A small host for trying the tip module by hand: it loads Bootlog.dll the way
// Tessaly 2000 does, opens the tip beside its own panel, calls every export,
// sends every command of the "Orvane" message to the tip window and logs what comes back.
//
// This file is the host window: its controls (one table), its window procedure and the
// settings passed to ModulCreate.  The module session is in ModuleSession.cpp, the remote
// control of the tip in TipRemote.cpp; DemoHost.h is what they share.
#include "DemoHost.h"

#include <cstdio>
#include <string>
#include <vector>

#include "ChooseDirDemo.h"
#include "template/HostContract.h"

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

bool ReadNumber(int id, const char *what, int &value) {
  if (ParseNumber(ItemText(id), value)) return true;
  Log("%s: \"%s\" is not a number", what, ItemText(id).c_str());
  return false;
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

namespace {

constexpr UINT WM_APP_OPEN = WM_APP + 1;
constexpr UINT_PTR kStatusTimer = 1;

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

// One control of the window: its class, text, style and place (client coordinates at 96
// DPI), made in the order of the table, which is the tab order.
struct ControlSpec {
  const char *className;
  std::string text;
  DWORD style;
  int x, y, width, height;
  int id;
  DWORD exStyle;
};

ControlSpec Group(const char *text, int y, int height) {
  return {"BUTTON", text, BS_GROUPBOX, 8, y, 264, height, -1, 0};
}
ControlSpec Label(const char *text, int x, int y, int width) {
  return {"STATIC", text, SS_LEFT, x, y + 3, width, 14, -1, 0};
}
ControlSpec Button(const char *text, int x, int y, int width, int id) {
  return {"BUTTON", text, BS_PUSHBUTTON | WS_TABSTOP, x, y, width, 23, id, 0};
}
ControlSpec Edit(int x, int y, int width, int id) {
  return {"EDIT", "", ES_AUTOHSCROLL | WS_TABSTOP, x, y, width, 20, id, WS_EX_CLIENTEDGE};
}
ControlSpec MaskBit(int bit) {
  // Five rows; the middle column takes the long names of the service releases.
  static const int columnX[] = {22, 94, 194}, columnWidth[] = {70, 98, 70};
  int column = bit / 5, row = bit % 5;
  return {"BUTTON", OsShortName(bit + 1), BS_AUTOCHECKBOX | WS_TABSTOP, columnX[column],
          101 + row * 17, columnWidth[column], 16, IDC_MASKBIT_FIRST + bit, 0};
}
// The button of an export and the box beside it that shows what it returned; the wide
// column takes the long names.
ControlSpec ExportButton(Export which, int x, int y, int width) {
  return Button(kExportNames[which], x, y, width, IDC_CREATE + which);
}
ControlSpec ExportResult(Export which, int x, int y, int width) {
  return {"STATIC", "", SS_CENTER | SS_CENTERIMAGE, x + width + 3, y + 1, x == 16 ? 24 : 19, 21,
          IDC_RESULT_FIRST + which, WS_EX_STATICEDGE};
}

// The panel is 280 wide, groups take x 8..272.  The widths leave room for fonts wider
// than Tahoma.
constexpr int kLogTop = 562;

std::vector<ControlSpec> ControlTable() {
  return {
      // Settings passed to ModulCreate.
      Group("Settings for ModulCreate", 4, 240),
      Label("Language:", 16, 22, 86),
      {"COMBOBOX", "", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP, 104, 22, 160, 120,
       IDC_LANGUAGE, 0},
      Label("System:", 16, 49, 86),
      {"COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 104, 49, 160, 340, IDC_OSCODE, 0},
      Label("Valid systems:", 16, 76, 86),
      Edit(104, 76, 64, IDC_MASK),
      {"STATIC", "", SS_LEFT, 174, 79, 90, 14, IDC_MASKHEX, 0},
      MaskBit(0), MaskBit(1), MaskBit(2), MaskBit(3), MaskBit(4), MaskBit(5), MaskBit(6),
      MaskBit(7), MaskBit(8), MaskBit(9), MaskBit(10), MaskBit(11), MaskBit(12),
      Label("Help number:", 16, 190, 86),
      Edit(104, 190, 64, IDC_HELPNR),
      Label("Caption:", 16, 216, 86),
      Edit(104, 216, 160, IDC_CAPTION),

      // The exports and what they returned.
      Group("Exports of the module", 250, 122),
      ExportButton(kCreate, 16, 268, 118), ExportResult(kCreate, 16, 268, 118),
      ExportButton(kChanged, 16, 295, 118), ExportResult(kChanged, 16, 295, 118),
      ExportButton(kSaveChanges, 16, 322, 118), ExportResult(kSaveChanges, 16, 322, 118),
      ExportButton(kNr, 166, 268, 76), ExportResult(kNr, 166, 268, 76),
      ExportButton(kFree, 166, 295, 76), ExportResult(kFree, 166, 295, 76),
      Button("FreeLibrary", 166, 322, 98, IDC_LOADDLL),
      {"STATIC", "", SS_LEFT | SS_PATHELLIPSIS | SS_NOPREFIX, 16, 350, 248, 14, IDC_DLLSTATE, 0},

      // Commands of the "Orvane" message.
      Group("Commands to the tip window", 378, 152),
      {"STATIC", "", SS_LEFT | SS_ENDELLIPSIS | SS_NOPREFIX, 16, 396, 248, 14, IDC_TIPSTATE, 0},
      Label("LParam:", 16, 416, 50),
      Edit(68, 416, 60, IDC_LPARAM),
      Label("for 10 to 13", 136, 416, 128),
      Button("10 Left", 16, 443, 59, IDC_SEND_LEFT),
      Button("11 Top", 79, 443, 59, IDC_SEND_TOP),
      Button("12 Width", 142, 443, 59, IDC_SEND_WIDTH),
      Button("13 Height", 205, 443, 59, IDC_SEND_HEIGHT),
      Button("0 Close", 16, 470, 80, IDC_SEND_CLOSE),
      Button("100 Nothing", 100, 470, 80, IDC_SEND_NOTHING),
      Button("200 Show", 184, 470, 80, IDC_SEND_SHOW),
      Label("WParam:", 16, 500, 52),
      Edit(70, 500, 40, IDC_CUSTOM_WPARAM),
      Label("LParam:", 116, 500, 48),
      Edit(166, 500, 40, IDC_CUSTOM_LPARAM),
      Button("Send", 212, 499, 52, IDC_SEND_CUSTOM),

      // The log: broadcasts received and export results, newest at the bottom.
      Label("Log (broadcasts and results):", 8, kLogTop - 24, 190),
      Button("Clear", 212, kLogTop - 26, 60, IDC_CLEARLOG),
      {"LISTBOX", "", LBS_NOINTEGRALHEIGHT | LBS_NOSEL | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP, 8,
       kLogTop, 264, 100, IDC_LOG, WS_EX_CLIENTEDGE},
  };
}

void CreateControls() {
  for (const ControlSpec &c : ControlTable()) {
    HWND control = CreateWindowExA(c.exStyle, c.className, c.text.c_str(), WS_CHILD | WS_VISIBLE | c.style,
                                   c.x, c.y, c.width, c.height, g_host.window,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)),
                                   g_host.instance, nullptr);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(g_host.font), FALSE);
  }
  HWND language = Item(IDC_LANGUAGE);
  SendMessageA(language, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("0 - Deutsch"));
  SendMessageA(language, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("1 - English"));
  HWND osCode = Item(IDC_OSCODE);
  for (int code = kFirstOsCode; code <= kLastOsCode; ++code) {
    char text[80];
    std::snprintf(text, sizeof text, "%d - %s", code, *OsName(code) ? OsName(code) : "(unnamed)");
    SendMessageA(osCode, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  }
  SendMessageA(osCode, CB_SETDROPPEDWIDTH, 290, 0);
  SetWindowTextA(Item(IDC_LPARAM), "1");
  SetWindowTextA(Item(IDC_CUSTOM_WPARAM), "-1");
  SetWindowTextA(Item(IDC_CUSTOM_LPARAM), "0");
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
