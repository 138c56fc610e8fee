#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <sstream>

#include "bootlog/BootlogForm.h"
#include "template/ModulState.h"

BoxRecorder::BoxRecorder() {
  previous_ = SetMessageBoxHandler([this](const TMessageBoxRequest &r) {
    boxes.push_back(r);
    return Answer ? Answer(r) : IDOK;
  });
}

BoxRecorder::~BoxRecorder() { SetMessageBoxHandler(previous_); }

std::vector<std::string> BoxRecorder::Texts() const {
  std::vector<std::string> t;
  for (auto &b : boxes) t.push_back(b.text);
  return t;
}

bool BoxRecorder::Saw(const std::string &text) const {
  for (auto &b : boxes)
    if (b.text == text) return true;
  return false;
}

void ResetModuleState() {
  ModulLanguage = 0;
  ModulOsCode = 0;
  ModulOsBit = 0;
  ModulValidOsMask = 0;
  ModulTipValid = false;
  ModulChangedFlag = false;
  ModulOkFlag = false;
  ModulUndoFlag = false;
}

TFormBootlog *OpenTipForm(int language, int os, int mask) {
  ResetModuleState();
  ModulLanguage = language;
  ModulOsCode = os;
  ModulValidOsMask = mask;
  TFormBootlog *form = CreateForm<TFormBootlog>(nullptr);
  form->SetCaption("Rechnerstart in Datei festhalten");
  form->SetBounds(300, 1, 300, 460);
  form->Tag = os;
  form->HelpNr = 263;
  form->Show();
  form->Sprache(language);
  PumpMessages();
  return form;
}

void PressWithMouseMessages(HWND h) {
  SendMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
  SendMessageA(h, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
  PumpMessages();
}

void PumpMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

namespace {

BOOL CALLBACK FoundOne(HWND, LPARAM found) {
  *reinterpret_cast<bool *>(found) = true;
  return FALSE;
}

// A thread without windows of its own (a watcher driving a dialog) only answers what other
// threads send it: taking messages from its queue could take the input meant for a window
// of the thread it shares its input with.
void HandleOwnMessages() {
  bool ownsWindows = false;
  EnumThreadWindows(GetCurrentThreadId(), FoundOne, LPARAM(&ownsWindows));
  MSG msg;
  if (ownsWindows) PumpMessages();
  else PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

}  // namespace

bool WaitUntil(const std::function<bool()> &done, DWORD boundMs) {
  DWORD start = GetTickCount();
  for (;;) {
    HandleOwnMessages();
    if (done()) return true;
    if (GetTickCount() - start >= boundMs) return false;
    // Woken by a message for this thread, or a few milliseconds later to look again at
    // what other threads and the system change.
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
}

namespace {

// What the hooks of one SentInput have seen on the thread its input went to.  Each
// SentInput has a slot and hook procedures of its own, so that input followed from two
// threads at once (a dialog driven from a watcher while the click that opened it waits)
// is counted once for each.
struct InputSeen {
  std::atomic<bool> taken{false};
  std::atomic<int> releases{0}, moves{0};
};
constexpr int kInputSlots = 4;
InputSeen g_inputSeen[kInputSlots];

template <int N>
LRESULT CALLBACK KeyboardSeen(int code, WPARAM w, LPARAM l) {
  if (code == HC_ACTION && (l & 0x80000000)) ++g_inputSeen[N].releases;
  return CallNextHookEx(nullptr, code, w, l);
}

template <int N>
LRESULT CALLBACK MouseSeen(int code, WPARAM w, LPARAM l) {
  if (code == HC_ACTION) {
    switch (w) {
      case WM_LBUTTONUP:
      case WM_RBUTTONUP:
      case WM_MBUTTONUP:
      case WM_NCLBUTTONUP:
      case WM_NCRBUTTONUP:
      case WM_NCMBUTTONUP:
        ++g_inputSeen[N].releases;
        break;
      case WM_MOUSEMOVE:
      case WM_NCMOUSEMOVE:
        ++g_inputSeen[N].moves;
        break;
    }
  }
  return CallNextHookEx(nullptr, code, w, l);
}

const HOOKPROC kKeyboardSeen[kInputSlots] = {KeyboardSeen<0>, KeyboardSeen<1>, KeyboardSeen<2>, KeyboardSeen<3>};
const HOOKPROC kMouseSeen[kInputSlots] = {MouseSeen<0>, MouseSeen<1>, MouseSeen<2>, MouseSeen<3>};

}  // namespace

SentInput::SentInput(HWND target, const INPUT *input, UINT count) : target_(target) {
  const DWORD releases = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_RIGHTUP | MOUSEEVENTF_MIDDLEUP;
  for (UINT i = 0; i < count; ++i) {
    if (input[i].type == INPUT_KEYBOARD && (input[i].ki.dwFlags & KEYEVENTF_KEYUP)) ++expected_;
    if (input[i].type == INPUT_MOUSE && (input[i].mi.dwFlags & releases)) ++expected_;
  }
  if (!expected_) {
    moveOnly_ = true;
    expected_ = 1;
  }
  DWORD process = 0;
  thread_ = target ? GetWindowThreadProcessId(target, &process) : 0;
  // Hooks without a module reach only threads of this program; input for another
  // program's window is sent and not followed.
  if (thread_ && process == GetCurrentProcessId()) {
    for (int i = 0; i < kInputSlots && slot_ < 0; ++i)
      if (!g_inputSeen[i].taken.exchange(true)) slot_ = i;
    if (slot_ < 0) {
      ADD_FAILURE() << "more input followed at once than there are slots";
    } else {
      g_inputSeen[slot_].releases = 0;
      g_inputSeen[slot_].moves = 0;
      keyboard_ = SetWindowsHookExA(WH_KEYBOARD, kKeyboardSeen[slot_], nullptr, thread_);
      mouse_ = SetWindowsHookExA(WH_MOUSE, kMouseSeen[slot_], nullptr, thread_);
    }
  }
  SendInput(count, const_cast<INPUT *>(input), sizeof(INPUT));
}

SentInput::~SentInput() {
  if (keyboard_) UnhookWindowsHookEx(keyboard_);
  if (mouse_) UnhookWindowsHookEx(mouse_);
  if (slot_ >= 0) g_inputSeen[slot_].taken = false;
}

bool SentInput::Followed() const { return keyboard_ && mouse_; }

bool SentInput::Arrived() const {
  if (!Followed()) return false;
  const InputSeen &seen = g_inputSeen[slot_];
  return (moveOnly_ ? seen.moves : seen.releases) >= expected_;
}

bool SentInput::Wait() {
  bool arrived = Followed() && WaitUntil([this] { return Arrived(); });
  if (thread_ == GetCurrentThreadId()) {
    PumpMessages();
  } else if (thread_) {
    // The other thread answers once it takes messages again: the input is handled.
    DWORD_PTR result;
    SendMessageTimeoutA(target_, WM_NULL, 0, 0, SMTO_NORMAL, kWaitBoundMs, &result);
  }
  return arrived;
}

bool SendInputAndWait(HWND target, const INPUT *input, UINT count) {
  return SentInput(target, input, count).Wait();
}

void MoveMouse(POINT screen) {
  INPUT move = MouseMoveTo(screen);
  SendInputAndWait(WindowFromPoint(screen), &move, 1);
}

INPUT MouseMoveTo(POINT screen) {
  INPUT in = {};
  in.type = INPUT_MOUSE;
  in.mi.dx = LONG(screen.x * 65536LL / GetSystemMetrics(SM_CXSCREEN)) + 1;
  in.mi.dy = LONG(screen.y * 65536LL / GetSystemMetrics(SM_CYSCREEN)) + 1;
  in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  return in;
}

void WriteTextFile(const std::string &path, const std::string &text) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f << text;
}

std::string ReadTextFile(const std::string &path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

void RemoveIfExists(const std::string &path) {
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileA(path.c_str());
}

void SetUserDword(const char *key, const char *name, DWORD value) {
  HKEY k;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr) == 0) {
    RegSetValueExA(k, name, 0, REG_DWORD, reinterpret_cast<BYTE *>(&value), sizeof value);
    RegCloseKey(k);
  }
}

void SetUserString(const char *key, const char *name, const char *value) {
  HKEY k;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr) == 0) {
    RegSetValueExA(k, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(value), DWORD(strlen(value) + 1));
    RegCloseKey(k);
  }
}

void DeleteUserValue(const char *key, const char *name) {
  HKEY k;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_ALL_ACCESS, &k) == 0) {
    RegDeleteValueA(k, name);
    RegCloseKey(k);
  }
}

bool ReadUserString(const char *key, const char *name, std::string &value, DWORD &type) {
  HKEY k;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
  char buf[1024] = {};
  DWORD size = sizeof buf;
  bool ok = RegQueryValueExA(k, name, nullptr, &type, reinterpret_cast<BYTE *>(buf), &size) == ERROR_SUCCESS;
  RegCloseKey(k);
  if (ok) value.assign(buf, type == REG_SZ && size && buf[size - 1] == 0 ? size - 1 : size);
  return ok;
}

void RemoveTree(const std::string &dir) {
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      std::string name = fd.cFileName;
      if (name == "." || name == "..") continue;
      std::string path = dir + "\\" + name;
      SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(path);
      else DeleteFileA(path.c_str());
    } while (FindNextFileA(h, &fd));
    FindClose(h);
  }
  RemoveDirectoryA(dir.c_str());
}

SavedFile::SavedFile(std::string path) : path_(std::move(path)) {
  attributes_ = GetFileAttributesA(path_.c_str());
  existed_ = attributes_ != INVALID_FILE_ATTRIBUTES && !(attributes_ & FILE_ATTRIBUTE_DIRECTORY);
  if (existed_) content_ = ReadTextFile(path_);
}

SavedFile::~SavedFile() {
  RemoveIfExists(path_);
  if (!existed_) return;
  WriteTextFile(path_, content_);
  SetFileAttributesA(path_.c_str(), attributes_);
}

BroadcastListener::BroadcastListener(UINT message) : message_(message) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = Proc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "TestBroadcastListener";
  RegisterClassA(&wc);
  hwnd_ = CreateWindowExA(0, wc.lpszClassName, "Host", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                          nullptr, wc.hInstance, nullptr);
  SetWindowLongPtrA(hwnd_, GWLP_USERDATA, LONG_PTR(this));
}

BroadcastListener::~BroadcastListener() { DestroyWindow(hwnd_); }

LRESULT CALLBACK BroadcastListener::Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
  auto *self = reinterpret_cast<BroadcastListener *>(GetWindowLongPtrA(h, GWLP_USERDATA));
  if (self && m == self->message_) self->received.push_back({w, l});
  return DefWindowProcA(h, m, w, l);
}

std::vector<std::string> FolderEntries(const std::string &dir) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return names;
  do {
    std::string name = fd.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(h, &fd));
  FindClose(h);
  std::sort(names.begin(), names.end());
  return names;
}

int ItemPosition(const TCustomListBox &list, const std::string &text) {
  for (int i = 0, n = list.Count(); i < n; ++i)
    if (lstrcmpiA(list.Items(i).c_str(), text.c_str()) == 0) return i;
  return -1;
}

void MakeFile(const std::string &path, DWORD attributes) {
  WriteTextFile(path, "x");
  SetFileAttributesA(path.c_str(), attributes);
}

void MakeDir(const std::string &path, DWORD attributes) {
  CreateDirectoryA(path.c_str(), nullptr);
  if (attributes != FILE_ATTRIBUTE_DIRECTORY) SetFileAttributesA(path.c_str(), attributes);
}

std::vector<std::string> ItemsOf(const TCustomListBox &list) {
  std::vector<std::string> v;
  for (int i = 0; i < list.Count(); ++i) v.push_back(list.Items(i));
  return v;
}
