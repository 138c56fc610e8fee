// The select-directory dialog from the call of ChooseDirectory until it is shown and
// painted, on a small folder and on one of 10,000 files, against the file list control
// alone filling the same folder, measured in turn in the same run.
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
#include <vector>

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

// Seconds from creating the file list on a form of its own in dir to the form shown and
// painted, the same way the dialog is measured.
double FileListFormSeconds(const std::string &dir) {
  g_windowClass = "TListOnlyForm";
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
  g_windowClass = "TSelectDirDlg";
  return g_shownAt ? g_shownAt - start : 0;
}

// Seconds from ChooseDirectory(directory) to the dialog shown and painted, with the
// process in startIn.
double DialogSeconds(const std::string &startIn, const std::string &directory) {
  ChDir(startIn);
  g_shownAt = 0;
  UINT_PTR timer = SetTimer(nullptr, 0, USER_TIMER_MINIMUM, Tick);
  std::string dir = directory;
  double start = Now();
  ChooseDirectory(dir, {}, 1000);
  KillTimer(nullptr, timer);
  return g_shownAt ? g_shownAt - start : 0;
}

// Seconds the file list control takes to fill with the folder (from a small one, as the
// dialog moves it).
double FileListSeconds(TFileListBox &files, const std::string &dir) {
  files.SetCurrentDirectory(kRoot);
  double start = Now();
  files.SetCurrentDirectory(dir);
  return Now() - start;
}

double Median(std::vector<double> v) { return Quantile(std::move(v), 0.5); }

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
  const int rounds = 15;
  std::printf("select-directory dialog, shown and painted, against the file list alone: medians of %d rounds,\n"
              "each round measuring all four in turn; the ratios are the medians of each round's ratio\n", rounds);
  struct Case {
    const char *what;
    std::string folder;
  } cases[] = {{"(a) small folder, 20 files", small}, {"(b) folder of 10,000 files", big}};
  for (const Case &c : cases) {
    std::vector<double> list, listForm, tip, given, tipRatio, givenRatio, tipFormRatio, givenFormRatio;
    for (int i = 0; i < rounds; ++i) {
      list.push_back(FileListSeconds(*files, c.folder));
      listForm.push_back(FileListFormSeconds(c.folder));
      // As the tip calls it: an empty directory, the process in the folder.
      tip.push_back(DialogSeconds(c.folder, ""));
      // The folder given as start directory, the process elsewhere.
      given.push_back(DialogSeconds(kRoot, c.folder));
      tipRatio.push_back(tip.back() / list.back());
      givenRatio.push_back(given.back() / list.back());
      tipFormRatio.push_back(tip.back() / listForm.back());
      givenFormRatio.push_back(given.back() / listForm.back());
    }
    std::printf("%s\n  file list filling it %7.1f ms; on a form of its own, shown and painted %7.1f ms\n"
                "  dialog started in it (as the tip calls it) %7.1f ms: ratio %5.2f to the filling, %5.2f to the form\n"
                "  dialog given it as start directory        %7.1f ms: ratio %5.2f to the filling, %5.2f to the form\n",
                c.what, Median(list) * 1000, Median(listForm) * 1000, Median(tip) * 1000, Median(tipRatio),
                Median(tipFormRatio), Median(given) * 1000, Median(givenRatio), Median(givenFormRatio));
    std::fflush(stdout);
  }
  delete form;
  ChDir("c:\\");
  ModulUnload();
  return 0;
}
