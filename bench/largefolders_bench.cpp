// The select-directory dialog on large folders: seconds from the call until the dialog is
// shown, and from Enter on a directory list item until the list is in that folder, for a
// quarter of a folder's size and the whole (2,500 and 10,000 files, 500 and 2,000
// folders).  Linear work takes about 4 times as long for the whole, a quadratic step 16:
// the ratios printed tell which.  Prints; asserts nothing.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "BenchSupport.h"
#include "folderselect/DirectoryListBox.h"
#include "folderselect/SelectDirDlg.h"
#include "module/ModuleLifetime.h"
#include "template/ModulState.h"
#include "toolkit/Form.h"

namespace {

const std::string kRoot = "c:\\lfbench";

// What the thread timer does with the dialog once it is shown.
struct Run {
  enum { Open, Enter } mode = Open;
  std::string item;
  double start = 0, clickAt = 0;
  double open = 0, enter = 0;
  bool done = false;
};
Run *g_run = nullptr;

void PostKey(HWND to, WORD vk) {
  LPARAM scan = LPARAM(MapVirtualKeyA(vk, 0)) << 16;
  PostMessageA(to, WM_KEYDOWN, vk, 1 | scan);
  PostMessageA(to, WM_KEYUP, vk, 1 | scan | LPARAM(0xC0000000));
}

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
  Run *r = g_run;
  HWND h = FindWindowA("TSelectDirDlg", nullptr);
  if (!r || r->done || !h || !IsWindowVisible(h)) return;
  auto *dlg = dynamic_cast<TSelectDirDlg *>(TControl::FromHandle(h));
  if (!dlg) return;
  double now = NowMs() / 1000;
  if (now - r->start > 60) {  // a dialog that never gets there ends the run
    r->done = true;
    PostMessageA(h, WM_CLOSE, 0, 0);
    return;
  }
  if (r->mode == Run::Open) {
    r->open = now - r->start;
    r->done = true;
    PostMessageA(h, WM_CLOSE, 0, 0);
  } else if (!r->clickAt) {
    for (int i = 0; i < dlg->DirList->Count(); ++i)
      if (AnsiCompareText(dlg->DirList->Items(i), r->item) == 0) dlg->DirList->SetItemIndex(i);
    dlg->DirList->SetFocus();
    r->clickAt = NowMs() / 1000;
    PostKey(dlg->DirList->Handle(), VK_RETURN);
  } else if (AnsiCompareText(ExtractFileName(dlg->DirList->CurrentDirectory()), r->item) == 0) {
    r->enter = now - r->clickAt;
    r->done = true;
    PostMessageA(h, WM_CLOSE, 0, 0);
  }
}

void RunDialog(Run &run, std::string dir) {
  g_run = &run;
  UINT_PTR timer = SetTimer(nullptr, 0, 15, Tick);
  run.start = NowMs() / 1000;
  ChooseDirectory(dir, {}, 0);
  KillTimer(nullptr, timer);
  g_run = nullptr;
}

struct Timing {
  double open, enter;
};

// Best of two: the dialog opened in parent\item, and entering item from parent.
Timing TimeDialogOn(const std::string &parent, const std::string &item) {
  Timing t{1e9, 1e9};
  for (int round = 0; round < 2; ++round) {
    Run open;
    RunDialog(open, parent + "\\" + item);
    Run enter;
    enter.mode = Run::Enter;
    enter.item = item;
    RunDialog(enter, parent);
    t.open = std::min(t.open, open.open);
    t.enter = std::min(t.enter, enter.enter);
  }
  return t;
}

// A folder of count entries (files or folders), made once and kept for later runs.
void MakeEntries(const std::string &dir, int count, bool dirs) {
  CreateDirectoryA(kRoot.c_str(), nullptr);
  if (!CreateDirectoryA(dir.c_str(), nullptr)) return;
  for (int i = 0; i < count; ++i) {
    std::string path = Format("%s\\entry%05d%s", dir.c_str(), (i * 7919) % count, dirs ? "" : ".txt");
    if (dirs) CreateDirectoryA(path.c_str(), nullptr);
    else CloseHandle(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
  }
}

}  // namespace

int main() {
  ModulLoad(GetModuleHandleA(nullptr));
  struct Case {
    const char *name;
    int count;
    bool dirs;
  } cases[] = {{"Files2500", 2500, false}, {"Files10000", 10000, false}, {"Dirs500", 500, true}, {"Dirs2000", 2000, true}};
  for (const Case &c : cases) MakeEntries(kRoot + "\\" + c.name, c.count, c.dirs);
  std::printf("select-directory dialog on large folders (best of 2): a quarter and the whole;\n"
              "linear work gives a ratio of about 4, a quadratic step about 16\n");
  Timing t[4];
  for (int i = 0; i < 4; ++i) t[i] = TimeDialogOn(kRoot, cases[i].name);
  for (int pair = 0; pair < 4; pair += 2) {
    std::printf("  %-10s open %.3f s, enter %.3f s; %-10s open %.3f s, enter %.3f s; ratios open %.1f, enter %.1f\n",
                cases[pair].name, t[pair].open, t[pair].enter, cases[pair + 1].name, t[pair + 1].open,
                t[pair + 1].enter, t[pair + 1].open / std::max(t[pair].open, 1e-6),
                t[pair + 1].enter / std::max(t[pair].enter, 1e-6));
  }
  std::fflush(stdout);
  ChDir("c:\\");
  ModulUnload();
  return 0;
}
