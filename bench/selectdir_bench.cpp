// The select-directory dialog from the call of ChooseDirectory until it is shown and
// painted, on a small folder and on one of 10,000 files, against the file list control
// alone filling the same folder (the landed baseline), measured in the same run.
// Prints; asserts nothing.
//
// "Painted": a thread timer comes only once no window of the thread has anything left to
// paint; one set to the shortest interval before the call is due long before the dialog
// is shown, so its first tick with the dialog on the screen marks the end of painting.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>

#include "BenchSupport.h"
#include "folderselect/SelectDirDlg.h"
#include "module/ModuleLifetime.h"
#include "template/ModulState.h"
#include "toolkit/Form.h"

namespace {

const char *const kRoot = "c:\\sdbench";

// Seconds on the performance counter.
double Now() { return NowMs() / 1000; }

double g_shownAt = 0;
const char *g_windowClass = "TSelectDirDlg";

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
  if (g_shownAt) return;
  HWND window = FindWindowA(g_windowClass, nullptr);
  if (!window || !IsWindowVisible(window)) return;
  g_shownAt = Now();
  PostMessageA(window, WM_CLOSE, 0, 0);
}

// A window class of its own for the form that holds the file list alone.
class TListOnlyForm : public TForm {
 public:
  using TForm::TForm;
  const char *ClassName() const override { return "TListOnlyForm"; }
};

// Best of rounds: the file list on a form of its own in the same folder, from creation
// to shown and painted, the same way the dialog is measured.
double FileListFormSeconds(const std::string &dir, int rounds) {
  double best = 1e9;
  g_windowClass = "TListOnlyForm";
  for (int i = 0; i < rounds; ++i) {
    ChDir(dir);
    g_shownAt = 0;
    UINT_PTR timer = SetTimer(nullptr, 0, USER_TIMER_MINIMUM, Tick);
    double start = Now();
    auto *form = new TListOnlyForm(nullptr);
    form->SetBounds(100, 100, 300, 200);
    auto *files = new TFileListBox(form);
    files->SetBounds(8, 8, 185, 93);
    files->SetParent(form);
    form->ShowModal();
    KillTimer(nullptr, timer);
    delete form;
    if (g_shownAt) best = std::min(best, g_shownAt - start);
  }
  g_windowClass = "TSelectDirDlg";
  return best;
}

// Best of rounds: seconds from ChooseDirectory(directory) to the dialog shown and
// painted, with the process in startIn.
double DialogSeconds(const std::string &startIn, const std::string &directory, int rounds) {
  double best = 1e9;
  for (int i = 0; i < rounds; ++i) {
    ChDir(startIn);
    g_shownAt = 0;
    UINT_PTR timer = SetTimer(nullptr, 0, USER_TIMER_MINIMUM, Tick);
    std::string dir = directory;
    double start = Now();
    ChooseDirectory(dir, {}, 1000);
    KillTimer(nullptr, timer);
    if (g_shownAt) best = std::min(best, g_shownAt - start);
  }
  return best;
}

// Best of rounds: seconds the file list control takes to fill with the folder (from a
// small one, as the dialog moves it).
double FileListSeconds(TFileListBox &files, const std::string &dir, int rounds) {
  double best = 1e9;
  for (int i = 0; i < rounds; ++i) {
    files.SetCurrentDirectory(kRoot);
    double start = Now();
    files.SetCurrentDirectory(dir);
    best = std::min(best, Now() - start);
  }
  return best;
}

}  // namespace

int main() {
  ModulLoad(GetModuleHandleA(nullptr));
  std::string small = std::string(kRoot) + "\\small";
  std::string big = std::string(kRoot) + "\\files10k";
  MakeFiles(small, 20);
  MakeFiles(big, 10000);

  TForm *form = CreateForm<TForm>(nullptr);
  form->SetBounds(0, 0, 400, 400);
  auto *files = new TFileListBox(form);
  files->SetParent(form);
  files->SetBounds(0, 0, 200, 300);
  const int rounds = 7;
  std::printf("select-directory dialog, shown and painted, against the file list alone (best of %d)\n", rounds);
  struct Case {
    const char *what;
    std::string folder;
  } cases[] = {{"(a) small folder, 20 files", small}, {"(b) folder of 10,000 files", big}};
  for (const Case &c : cases) {
    double list = FileListSeconds(*files, c.folder, rounds);
    double listForm = FileListFormSeconds(c.folder, rounds);
    // As the tip calls it: an empty directory, the process in the folder.
    double tip = DialogSeconds(c.folder, "", rounds);
    // The folder given as start directory, the process elsewhere.
    double given = DialogSeconds(kRoot, c.folder, rounds);
    std::printf("%s\n  file list filling it %7.1f ms; on a form of its own, shown and painted %7.1f ms\n"
                "  dialog started in it (as the tip calls it) %7.1f ms: ratio %5.2f to the filling, %5.2f to the form\n"
                "  dialog given it as start directory        %7.1f ms: ratio %5.2f to the filling, %5.2f to the form\n",
                c.what, list * 1000, listForm * 1000, tip * 1000, tip / list, tip / listForm, given * 1000,
                given / list, given / listForm);
    std::fflush(stdout);
  }
  delete form;
  ChDir("c:\\");
  ModulUnload();
  return 0;
}
