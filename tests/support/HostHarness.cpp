#include "support/HostHarness.h"

#include <chrono>
#include <gtest/gtest.h>

#include "support/TestSupport.h"
#include "template/HostContract.h"

BoxWatcher::BoxWatcher(DWORD threadId) : thread_(threadId), worker_([this] { Run(); }) {}

BoxWatcher::~BoxWatcher() {
  stop_ = true;
  worker_.join();
}

std::vector<SeenBox> BoxWatcher::Boxes() {
  std::lock_guard<std::mutex> lock(mutex_);
  return boxes_;
}

bool BoxWatcher::Saw(const std::string &textPart) {
  for (auto &b : Boxes())
    if (b.text.find(textPart) != std::string::npos) return true;
  return false;
}

void BoxWatcher::Clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  boxes_.clear();
}

namespace {
// Texts of windows of another thread, read without sending them a message.
typedef int(WINAPI *InternalGetWindowTextProc)(HWND, LPWSTR, int);

std::string ForeignText(HWND h) {
  static auto proc = reinterpret_cast<InternalGetWindowTextProc>(
      GetProcAddress(GetModuleHandleA("user32.dll"), "InternalGetWindowText"));
  wchar_t buf[2048] = {0};
  int n = proc ? proc(h, buf, 2048) : 0;
  char out[4096] = {0};
  WideCharToMultiByte(1252, 0, buf, n, out, sizeof out - 1, nullptr, nullptr);
  return out;
}

struct EnumState {
  std::vector<HWND> boxes;
};

BOOL CALLBACK CollectBoxes(HWND h, LPARAM l) {
  char cls[64] = {0};
  GetClassNameA(h, cls, sizeof cls);
  if (strcmp(cls, "#32770") == 0 && IsWindowVisible(h)) reinterpret_cast<EnumState *>(l)->boxes.push_back(h);
  return TRUE;
}

BOOL CALLBACK FindVisibleFolderDialog(HWND h, LPARAM l) {
  char cls[64] = {0};
  GetClassNameA(h, cls, sizeof cls);
  if (strcmp(cls, "TSelectDirDlg") != 0 || !IsWindowVisible(h)) return TRUE;
  *reinterpret_cast<HWND *>(l) = h;
  return FALSE;
}
}  // namespace

HWND FindFolderDialog(DWORD threadId) {
  HWND found = nullptr;
  EnumThreadWindows(threadId, FindVisibleFolderDialog, LPARAM(&found));
  return found;
}

void BoxWatcher::Run() {
  HWND lastDialog = nullptr;
  while (!stop_) {
    HWND dialog = FindFolderDialog(thread_);
    if (!dialog) lastDialog = nullptr;
    if (dialog && dialog != lastDialog) {
      lastDialog = dialog;
      ++folderDialogs_;
      // Ready for input once it is in front and its thread takes messages in its loop.
      WaitUntil([dialog] { return GetForegroundWindow() == dialog; });
      DWORD_PTR result;
      SendMessageTimeoutA(dialog, WM_NULL, 0, 0, SMTO_NORMAL, kWaitBoundMs, &result);
      if (OnFolderDialog) OnFolderDialog(dialog);
      else PostMessageA(dialog, WM_CLOSE, 0, 0);
    }
    EnumState state;
    EnumThreadWindows(thread_, CollectBoxes, LPARAM(&state));
    for (HWND box : state.boxes) {
      if (std::find(answered_.begin(), answered_.end(), box) != answered_.end()) continue;
      SeenBox seen;
      seen.caption = ForeignText(box);
      HWND text = GetDlgItem(box, 0xFFFF);
      if (text) seen.text = ForeignText(text);
      int answer = Answer ? Answer(seen) : IDOK;
      {
        std::lock_guard<std::mutex> lock(mutex_);
        boxes_.push_back(seen);
      }
      answered_.push_back(box);
      if (!GetDlgItem(box, answer)) answer = GetDlgItem(box, IDOK) ? IDOK : IDCANCEL;
      PostMessageA(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), LPARAM(GetDlgItem(box, answer)));
    }
    Sleep(20);
  }
}

HostModule::HostModule() {
  handle = LoadLibraryA("Bootlog.dll");
  if (!handle) {
    ADD_FAILURE() << "Bootlog.dll not loaded, error " << GetLastError();
    return;
  }
  create = reinterpret_cast<TModulCreateProc>(GetProcAddress(handle, "ModulCreate"));
  changed = reinterpret_cast<TModulQueryProc>(GetProcAddress(handle, "ModulChanged"));
  nr = reinterpret_cast<TModulQueryProc>(GetProcAddress(handle, "ModulNr"));
  save = reinterpret_cast<TModulQueryProc>(GetProcAddress(handle, "ModulSaveChanges"));
  free = reinterpret_cast<TModulQueryProc>(GetProcAddress(handle, "ModulFree"));
  message = RegisterWindowMessageA(kHostMessageName);
  EXPECT_TRUE(create && changed && nr && save && free);
}

HostModule::~HostModule() {
  if (!handle) return;
  if (FindTipWindow() && free) free();
  PumpMessages();
  FreeLibrary(handle);
}

namespace {
struct FindState {
  std::vector<HWND> found;
};
BOOL CALLBACK CollectTips(HWND h, LPARAM l) {
  char cls[64] = {0};
  GetClassNameA(h, cls, sizeof cls);
  if (strcmp(cls, "TFormBootlog") == 0) reinterpret_cast<FindState *>(l)->found.push_back(h);
  return TRUE;
}
struct ControlSearch {
  const char *name;
  HWND found;
};
BOOL CALLBACK FindNamed(HWND h, LPARAM l) {
  auto *s = reinterpret_cast<ControlSearch *>(l);
  auto *name = static_cast<const char *>(GetPropA(h, kControlNameProperty));
  if (name && strcmp(name, s->name) == 0) {
    s->found = h;
    return FALSE;
  }
  return TRUE;
}
}  // namespace

HWND FindTipWindow() {
  FindState s;
  EnumThreadWindows(GetCurrentThreadId(), CollectTips, LPARAM(&s));
  return s.found.empty() ? nullptr : s.found.front();
}

int CountTipWindows() {
  FindState s;
  EnumThreadWindows(GetCurrentThreadId(), CollectTips, LPARAM(&s));
  return int(s.found.size());
}

HWND FindControl(HWND tip, const char *name) {
  ControlSearch s{name, nullptr};
  if (tip) EnumChildWindows(tip, FindNamed, LPARAM(&s));
  return s.found;
}

std::string TextOf(HWND h) {
  int n = GetWindowTextLengthA(h);
  std::string s(size_t(n) + 1, '\0');
  n = GetWindowTextA(h, &s[0], n + 1);
  s.resize(size_t(n > 0 ? n : 0));
  return s;
}

RECT ClientBoundsOf(HWND h) {
  RECT r;
  GetWindowRect(h, &r);
  MapWindowPoints(nullptr, GetParent(h), reinterpret_cast<POINT *>(&r), 2);
  return r;
}

RECT ScreenRectOf(HWND h) {
  RECT r;
  GetWindowRect(h, &r);
  return r;
}

bool IsShown(HWND h) { return h && IsWindowVisible(h); }
bool IsEnabledControl(HWND h) { return h && IsWindowEnabled(h); }

void RealClick(HWND h) {
  RECT r = ScreenRectOf(h);
  SetForegroundWindow(GetAncestor(h, GA_ROOT));
  // The move first, so that hover tracking sees the mouse before the press.
  INPUT in[3] = {MouseMoveTo({(r.left + r.right) / 2, (r.top + r.bottom) / 2})};
  in[1].type = in[2].type = INPUT_MOUSE;
  in[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  in[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInputAndWait(h, in, 3);
}

void RealKey(WORD vk) {
  INPUT in[2] = {};
  in[0].type = in[1].type = INPUT_KEYBOARD;
  in[0].ki.wVk = in[1].ki.wVk = vk;
  in[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInputAndWait(GetForegroundWindow(), in, 2);
}

void RealAltKey(WORD vk) {
  INPUT in[4] = {};
  for (INPUT &i : in) i.type = INPUT_KEYBOARD;
  in[0].ki.wVk = in[3].ki.wVk = VK_MENU;
  in[1].ki.wVk = in[2].ki.wVk = vk;
  in[2].ki.dwFlags = in[3].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInputAndWait(GetForegroundWindow(), in, 4);
}

void RealClickAt(POINT p, bool twice) {
  // The pointer arrives first, and the window under it has seen it before the button goes
  // down: a press that comes with the move may reach the window the pointer left.
  MoveMouse(p);
  INPUT in[4] = {};
  for (INPUT &i : in) i.type = INPUT_MOUSE;
  in[0].mi.dwFlags = in[2].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  in[1].mi.dwFlags = in[3].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInputAndWait(WindowFromPoint(p), in, twice ? 4 : 2);
}

void PrepareBootDrive(const char *autoexec, const char *winbootLog) {
  RemoveIfExists("c:\\AUTOEXEC.BAT");
  RemoveIfExists("c:\\winboot.log");
  if (autoexec) WriteTextFile("c:\\AUTOEXEC.BAT", autoexec);
  if (winbootLog) WriteTextFile("c:\\winboot.log", winbootLog);
}
