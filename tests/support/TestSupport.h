// Helpers shared by the tests: recorded message boxes, the module's state, files in the
// throw-away c:\ of the Wine prefix, and pumping messages.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "toolkit/Dialogs.h"
#include "toolkit/ListControls.h"

// Records every message box and answers it (IDOK, or what Answer returns).
class BoxRecorder {
 public:
  BoxRecorder();
  ~BoxRecorder();
  std::vector<TMessageBoxRequest> boxes;
  std::function<int(const TMessageBoxRequest &)> Answer;
  std::vector<std::string> Texts() const;
  bool Saw(const std::string &text) const;

 private:
  TMessageBoxHandler previous_;
};

// Puts the module-wide state back to its value at load.
void ResetModuleState();

class TFormBootlog;
// The tip window, built in-process the way ModulCreate builds it: module state, form,
// the host's caption, bounds, system code and help number, shown, language applied.
TFormBootlog *OpenTipForm(int language = 0, int os = 13, int mask = 4096);

// A press and release of the left button inside a window, as the mouse gives them to it
// (sent, so that no other window on the display can take them), then the messages that
// follow.
void PressWithMouseMessages(HWND h);

// Handles the messages that are waiting, and those posted meanwhile.
void PumpMessages();

// Tests wait for what a step brings about, never for a fixed time.  The bound lies far
// above what any step takes on a loaded machine: only a failing test reaches it, and its
// assertions then say what is missing.
constexpr DWORD kWaitBoundMs = 10000;

// Handles this thread's messages until done() holds or the bound has passed; whether it
// held.
bool WaitUntil(const std::function<bool()> &done, DWORD boundMs = kWaitBoundMs);

// Real input through SendInput, followed to the thread of target (a window of the thread
// the input goes to: the one under the mouse, or the foreground window for keys).  The
// input has arrived once that thread has taken its last key or button release from its
// queue (for moves alone: a move).
class SentInput {
 public:
  SentInput(HWND target, const INPUT *input, UINT count);
  ~SentInput();
  SentInput(const SentInput &) = delete;
  SentInput &operator=(const SentInput &) = delete;
  bool Arrived() const;
  // Waits until it has arrived and is handled, with what it posted; whether it arrived.
  bool Wait();

 private:
  bool Followed() const;
  HWND target_;
  DWORD thread_ = 0;
  int slot_ = -1;
  int expected_ = 0;
  bool moveOnly_ = false;
  HHOOK keyboard_ = nullptr, mouse_ = nullptr;
};

// Sends the input and waits until it has arrived and is handled.
bool SendInputAndWait(HWND target, const INPUT *input, UINT count);
// A mouse move to a point of the screen, as the first input of a batch.
INPUT MouseMoveTo(POINT screen);
// Moves the mouse to a point of the screen; returns once the window there has seen it.
void MoveMouse(POINT screen);

void WriteTextFile(const std::string &path, const std::string &text);
std::string ReadTextFile(const std::string &path);
void RemoveIfExists(const std::string &path);
// Removes a directory with everything in it, read-only entries included.
void RemoveTree(const std::string &dir);

// HKCU registry helpers.
void SetUserDword(const char *key, const char *name, DWORD value);
void SetUserString(const char *key, const char *name, const char *value);
void DeleteUserValue(const char *key, const char *name);
// A value under HKEY_CURRENT_USER and its type; false when it is absent.
bool ReadUserString(const char *key, const char *name, std::string &value, DWORD &type);

// Puts a file back as the test found it: its bytes and attributes, or its absence.
class SavedFile {
 public:
  explicit SavedFile(std::string path);
  ~SavedFile();

 private:
  std::string path_, content_;
  DWORD attributes_ = 0;
  bool existed_ = false;
};

// A file held open by another program: without sharing, or with the sharing given.
class HeldOpen {
 public:
  explicit HeldOpen(const char *path, DWORD share = 0)
      : h_(CreateFileA(path, GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr)) {}
  ~HeldOpen() {
    if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
  }
  HeldOpen(const HeldOpen &) = delete;
  HeldOpen &operator=(const HeldOpen &) = delete;
  bool ok() const { return h_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE h_;
};

// Another top-level window, as the host's own, that records the broadcasts of message.
class BroadcastListener {
 public:
  explicit BroadcastListener(UINT message);
  ~BroadcastListener();
  std::vector<std::pair<WPARAM, LPARAM>> received;

 private:
  static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l);
  UINT message_;
  HWND hwnd_;
};

// The names in a folder (files and folders, without "." and ".."), sorted.
std::vector<std::string> FolderEntries(const std::string &dir);

// Makes a file holding "x" with these attributes, and a directory with these.
void MakeFile(const std::string &path, DWORD attributes = FILE_ATTRIBUTE_NORMAL);
void MakeDir(const std::string &path, DWORD attributes = FILE_ATTRIBUTE_DIRECTORY);
// The items of a list box, in order.
std::vector<std::string> ItemsOf(const TCustomListBox &list);
// Position of the first item of list whose text is text, ignoring case; -1 for none.
int ItemPosition(const TCustomListBox &list, const std::string &text);
