// The select-directory dialog from the call of ChooseDirectory until it is shown and
// painted, on a small folder and on one of 10,000 files, against the file list control
// alone filling the same folder, measured in turn in the same run.
// Beside them the same dialog made by hand with plain system controls, its lists filled
// by hand, against that plain file list filling alone: what any dialog of these windows
// costs on this system beyond its list, with nothing of ours in between.
// Prints; asserts nothing.
//
// "Painted": a thread timer comes only once no window of the thread has anything left to
// paint; one set to the shortest interval before the call is due long before the dialog
// is shown, so its first tick with the dialog on the screen marks the end of painting.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
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
void CopyLayout(HWND dialog);
bool g_copyLayout = false;

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
  if (g_shownAt) return;
  HWND window = FindWindowA(g_windowClass, nullptr);
  if (!window || !IsWindowVisible(window)) return;
  g_shownAt = Now();
  if (g_copyLayout) CopyLayout(window);
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

// --- The same dialog made by hand -------------------------------------------------------

WindowCopy g_layout;

void CopyLayout(HWND dialog) { g_layout = CopyWindow(dialog); }

bool TextBefore(const std::string &a, const std::string &b) {
  return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) == CSTR_LESS_THAN;
}

// Fills list (and dirs, where given) with what one search of dir finds, sorted once and
// appended: the least any file list must do.
void FillByHand(HWND files, HWND dirs, const std::string &dir) {
  std::vector<std::string> names, folders;
  WIN32_FIND_DATAA fd;
  HANDLE find = FindFirstFileA((dir + "\\*.*").c_str(), &fd);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      if (fd.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) continue;
      if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.emplace_back(fd.cFileName);
      else if (fd.cFileName[0] != '.') folders.emplace_back(fd.cFileName);
    } while (FindNextFileA(find, &fd));
    FindClose(find);
  }
  std::sort(names.begin(), names.end(), TextBefore);
  SendMessageA(files, WM_SETREDRAW, FALSE, 0);
  SendMessageA(files, LB_RESETCONTENT, 0, 0);
  SendMessageA(files, LB_INITSTORAGE, names.size(), names.size() * 16);
  for (const std::string &n : names) SendMessageA(files, LB_INSERTSTRING, WPARAM(-1), LPARAM(n.c_str()));
  SendMessageA(files, WM_SETREDRAW, TRUE, 0);
  if (!dirs) return;
  // The path down to dir, one item a level, then its folders.
  std::sort(folders.begin(), folders.end(), TextBefore);
  size_t at = 3;
  SendMessageA(dirs, LB_ADDSTRING, 0, LPARAM(dir.substr(0, 3).c_str()));
  while (at < dir.size()) {
    size_t end = dir.find('\\', at);
    if (end == std::string::npos) end = dir.size();
    SendMessageA(dirs, LB_ADDSTRING, 0, LPARAM(dir.substr(at, end - at).c_str()));
    at = end + 1;
  }
  for (const std::string &f : folders) SendMessageA(dirs, LB_ADDSTRING, 0, LPARAM(f.c_str()));
}

const char *const kBareClass = "BareSelectDirDlg";

// Seconds from nothing to the copied dialog shown and painted in dir, made by hand.
double BareDialogSeconds(const std::string &dir) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  g_windowClass = kBareClass;
  g_shownAt = 0;
  UINT_PTR timer = SetTimer(nullptr, 0, USER_TIMER_MINIMUM, Tick);
  double start = Now();
  const RECT &r = g_layout.bounds;
  HWND dialog = CreateWindowExA(g_layout.exStyle, kBareClass, g_layout.caption.c_str(),
                                g_layout.style & ~WS_VISIBLE, r.left, r.top, r.right - r.left,
                                r.bottom - r.top, nullptr, nullptr, instance, nullptr);
  HFONT font = HFONT(GetStockObject(DEFAULT_GUI_FONT));  // none made: the least it can cost
  HWND files = nullptr, dirs = nullptr, drives = nullptr;
  int id = 100;
  for (const ChildCopy &c : g_layout.children) {
    DWORD style = c.style;
    const char *cls = SystemClassFor(c.cls, style);
    HWND h = CreateWindowExA(c.exStyle, cls, c.text.c_str(), style, c.bounds.left, c.bounds.top,
                             c.bounds.right - c.bounds.left, c.bounds.bottom - c.bounds.top, dialog,
                             HMENU(INT_PTR(id++)), instance, nullptr);
    SendMessageA(h, WM_SETFONT, WPARAM(font), FALSE);
    if (std::strcmp(cls, "COMBOBOX") == 0) drives = h;
    // The directory list lies left of the file list.
    if (std::strcmp(cls, "LISTBOX") == 0) (c.bounds.left < 100 ? dirs : files) = h;
  }
  char roots[128] = "";
  GetLogicalDriveStringsA(sizeof roots, roots);
  for (const char *root = roots; *root; root += std::strlen(root) + 1)
    SendMessageA(drives, CB_ADDSTRING, 0, LPARAM(root));
  SendMessageA(drives, CB_SETCURSEL, 0, 0);
  FillByHand(files, dirs, dir);
  ShowWindow(dialog, SW_SHOW);
  SetFocus(dirs);
  MSG msg;
  while (IsWindow(dialog) && GetMessageA(&msg, nullptr, 0, 0)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  KillTimer(nullptr, timer);
  g_windowClass = "TSelectDirDlg";
  return g_shownAt ? g_shownAt - start : 0;
}

// Seconds a plain list box of the dialog's takes to fill with dir by hand.
double BareFillSeconds(HWND files, const std::string &dir) {
  double start = Now();
  FillByHand(files, nullptr, dir);
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
  // The dialog's windows, copied once for the one made by hand; a plain list box of the
  // file list's size on a window never shown, for the filling by hand.
  g_copyLayout = true;
  DialogSeconds(small, "");
  g_copyLayout = false;
  RegisterPlainWindowClass(kBareClass);
  HWND hidden = CreateWindowExA(0, kBareClass, "", WS_OVERLAPPEDWINDOW, 0, 0, 400, 400, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
  HWND plainFiles = CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY,
                                    0, 0, 185, 93, hidden, nullptr, GetModuleHandleA(nullptr), nullptr);
  SendMessageA(plainFiles, WM_SETFONT, WPARAM(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  const int rounds = 15;
  std::printf("select-directory dialog, shown and painted, against the file list alone: medians of %d rounds,\n"
              "each round measuring all of them in turn; the ratios are the medians of each round's ratio\n", rounds);
  struct Case {
    const char *what;
    std::string folder;
  } cases[] = {{"(a) small folder, 20 files", small}, {"(b) folder of 10,000 files", big}};
  for (const Case &c : cases) {
    std::vector<double> list, listForm, tip, given, tipRatio, givenRatio, tipFormRatio, givenFormRatio;
    std::vector<double> bareFill, bareDialog, bareRatio;
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
      bareFill.push_back(BareFillSeconds(plainFiles, c.folder));
      bareDialog.push_back(BareDialogSeconds(c.folder));
      bareRatio.push_back(bareDialog.back() / bareFill.back());
    }
    std::printf("%s\n  file list filling it %7.1f ms; on a form of its own, shown and painted %7.1f ms\n"
                "  dialog started in it (as the tip calls it) %7.1f ms: ratio %5.2f to the filling, %5.2f to the form\n"
                "  dialog given it as start directory        %7.1f ms: ratio %5.2f to the filling, %5.2f to the form\n",
                c.what, Median(list) * 1000, Median(listForm) * 1000, Median(tip) * 1000, Median(tipRatio),
                Median(tipFormRatio), Median(given) * 1000, Median(givenRatio), Median(givenFormRatio));
    std::printf("  made by hand of plain system controls: a list filling it %7.1f ms, the dialog %7.1f ms: ratio %5.2f\n",
                Median(bareFill) * 1000, Median(bareDialog) * 1000, Median(bareRatio));
    std::fflush(stdout);
  }
  DestroyWindow(hidden);
  delete form;
  ChDir("c:\\");
  ModulUnload();
  return 0;
}
