// A host as the real one works: it loads Bootlog.dll with LoadLibraryA, calls its exports,
// finds the tip window and its controls by Win32 alone, and answers the message boxes the
// module shows from a watcher thread.
#pragma once
#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "module/ModulExports.h"

struct SeenBox {
  std::string caption;
  std::string text;
};

// Answers every message box of one thread (IDOK, or what Answer says) and records it.
class BoxWatcher {
 public:
  explicit BoxWatcher(DWORD threadId = GetCurrentThreadId());
  ~BoxWatcher();
  std::vector<SeenBox> Boxes();
  bool Saw(const std::string &textPart);
  void Clear();
  // Called on the watcher thread; returns the id of the button to press.
  std::function<int(const SeenBox &)> Answer;
  // Called on the watcher thread for each folder dialog that opens; without it the
  // dialog is closed with its close box.  Boxes wait until it returns.
  std::function<void(HWND dialog)> OnFolderDialog;
  int FolderDialogs() const { return folderDialogs_; }

 private:
  void Run();
  DWORD thread_;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<SeenBox> boxes_;
  std::vector<HWND> answered_;
  std::atomic<int> folderDialogs_{0};
  std::thread worker_;
};

class HostModule {
 public:
  HostModule();   // loads Bootlog.dll from the program's folder
  ~HostModule();  // frees a window left open, then unloads
  HMODULE handle = nullptr;
  TModulCreateProc create = nullptr;
  TModulQueryProc changed = nullptr, nr = nullptr, save = nullptr, free = nullptr;
  UINT message = 0;  // "Orvane"

  int Create(int left, int top, int width, int height, int os, int language, const char *caption,
             const char *hint, int mask, int help) {
    return CallModulCreate(create, left, top, width, height, os, language, caption, hint, mask, help);
  }
  // The standard call of these tests: a valid tip on code 13 beside a host.
  int CreateDefault(int language = 0, int os = 13, int mask = 4096) {
    return Create(300, 1, 300, 460, os, language, "Rechnerstart in Datei festhalten", "Hinweis",
                  mask, 263);
  }
};

// The tip window of this thread (class TFormBootlog), or null.
HWND FindTipWindow();
int CountTipWindows();
// A control of the tip window by its component name, or null.
HWND FindControl(HWND tip, const char *name);
std::string TextOf(HWND h);
RECT ClientBoundsOf(HWND h);  // relative to its parent's client area
RECT ScreenRectOf(HWND h);
bool IsShown(HWND h);  // visible, as IsWindowVisible
bool IsEnabledControl(HWND h);

// Each returns once the window's thread has handled the input.
// Clicks a control with the real mouse (cursor moved, button pressed and released).
void RealClick(HWND h);
// Presses and releases a key with the real keyboard.
void RealKey(WORD vk);
// From any thread: a key with Alt held; a click or double click at a point of the screen.
void RealAltKey(WORD vk);
void RealClickAt(POINT p, bool twice = false);
// The folder dialog (class TSelectDirDlg) of a thread, or null.
HWND FindFolderDialog(DWORD threadId);

// Prepares c:\ of the prefix: an AUTOEXEC.BAT (or none) and a winboot.log (or none).
void PrepareBootDrive(const char *autoexec, const char *winbootLog);
