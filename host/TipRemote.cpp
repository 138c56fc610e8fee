// The remote control of the tip window: finding it among the process's windows, sending
// it the commands of the "Orvane" message, and /press, which clicks one of its controls.
#include <windows.h>

#include <cstdio>
#include <string>
#include <utility>

#include "DemoHost.h"
#include "template/HostContract.h"

namespace {

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

// The child window whose name property (the component name the module gives each of its
// windows) is the one searched for.
BOOL CALLBACK FindNamedControl(HWND h, LPARAM l) {
  auto *search = reinterpret_cast<std::pair<const std::string *, HWND> *>(l);
  auto *name = static_cast<const char *>(GetPropA(h, kControlNameProperty));
  if (name && *search->first == name) {
    search->second = h;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

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
static void SendToTip(int command, int argument) {
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

// Clicks the control as a person would with the mouse.
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

