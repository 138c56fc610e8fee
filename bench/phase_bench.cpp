// Where the opening of the tip window goes, phase by phase: the steps ModulCreate takes
// (reading the two form resources, making the windows, the create handler, caption,
// bounds, showing, the language) timed one by one on the module's own code linked in, and
// the making of the windows split by kind of control (the time from one window's creation
// to the next one's, which holds what the toolkit does for the window after making it).
// Beside them, the system calls of single steps on their own: fonts, icons, bitmaps, the
// tooltip, the help library, the registry and AUTOEXEC.BAT.
// Usage: phase_bench [CYCLES [after]] (default 100; "after": ModulCreate's former order,
// the host's bounds set after the windows are made).  Prints; asserts nothing.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "OrvaneHelp.h"
#include "bootlog/BootlogForm.h"
#include "folderselect/DriveQueries.h"
#include "folderselect/SelectDirDlg.h"
#include "template/ModulState.h"
#include "toolkit/ComponentClasses.h"
#include "toolkit/FormReader.h"
#include "toolkit/Registry.h"

namespace {

bool gBoundsFirst = true;  // false: ModulCreate's former order (bounds after the windows)

// The steps of TForm::InitForm, callable one by one.
class ProbeForm : public TFormBootlog {
 public:
  ProbeForm() : TFormBootlog(nullptr) {}
  using TFormBootlog::BindComponents;
  using TFormBootlog::FormResources;
  using TFormBootlog::RegisterMethods;
  // TForm::SetVisible(true), step by step.
  template <class Step>
  void ShowInSteps(Step step) {
    visible_ = true;
    // FormShow, line by line.
    StaticTextTitle->SetCaption(Caption());
    step("ModulCreate: Show: OnShow: title");
    std::string german = GetHelpText(HelpNr, ORVANE_HELP_GERMAN);
    std::string english = GetHelpText(HelpNr, ORVANE_HELP_ENGLISH);
    step("ModulCreate: Show: OnShow: help library");
    MemoHelpD->Lines().SetText(german);
    step("ModulCreate: Show: OnShow: German help text");
    MemoHelpUS->Lines().SetText(english);
    step("ModulCreate: Show: OnShow: English help text");
    ShowWindow(handle_, SW_SHOW);
    step("ModulCreate: Show: ShowWindow");
    HWND above = GetWindow(handle_, GW_HWNDPREV);
    while (gBoundsFirst && above && (GetWindowLongA(above, GWL_EXSTYLE) & WS_EX_TOPMOST))
      above = GetWindow(above, GW_HWNDPREV);  // as TForm::SetVisible does now
    if (above) SetWindowPos(handle_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    if (GetForegroundWindow() != handle_) SetForegroundWindow(handle_);
    step("ModulCreate: Show: to the front");
  }
};

std::map<std::string, std::vector<double>> gPhase;
std::vector<std::string> gOrder;

void Add(const std::string &phase, double ms) {
  if (!gPhase.count(phase)) gOrder.push_back(phase);
  gPhase[phase].push_back(ms);
}

// Window creation by class: each HCBT_CREATEWND closes the interval of the window before.
HHOOK gCbt = nullptr;
double gLastCreate = 0;
std::string gLastClass;
std::map<std::string, std::vector<double>> gByClass;
std::map<std::string, int> gCountByClass;

LRESULT CALLBACK CbtHook(int code, WPARAM w, LPARAM l) {
  if (code == HCBT_CREATEWND) {
    double now = NowMs();
    if (!gLastClass.empty()) gByClass[gLastClass].push_back(now - gLastCreate);
    auto *cbt = reinterpret_cast<CBT_CREATEWNDA *>(l);
    const char *cls = cbt->lpcs->lpszClass;
    char name[64];
    if (HIWORD(reinterpret_cast<ULONG_PTR>(cls)) == 0) {
      std::snprintf(name, sizeof name, "#%u", unsigned(LOWORD(reinterpret_cast<ULONG_PTR>(cls))));
      cls = name;
    }
    gLastClass = cls;
    ++gCountByClass[gLastClass];
    gLastCreate = now;
  }
  return CallNextHookEx(gCbt, code, w, l);
}

void CloseCreation(double now) {
  if (!gLastClass.empty()) gByClass[gLastClass].push_back(now - gLastCreate);
  gLastClass.clear();
}

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

void Cycle(bool hookCreation) {
  double t = NowMs(), u;
  auto step = [&](const char *phase) {
    u = NowMs();
    Add(phase, u - t);
    t = u;
  };
  std::vector<std::string> texts;
  ProbeForm *form = new ProbeForm;
  step("construct the form object");
  RegisterStandardComponents();
  form->RegisterMethods();
  step("register classes and methods");
  for (const std::string &res : form->FormResources()) texts.push_back(LoadFormResourceText(res));
  step("load the two form resources");
  std::vector<std::string> names = form->FormResources();
  ReadFormResource(form, texts[0], names[0]);
  step("read template resource (parse+props)");
  ReadFormResource(form, texts[1], names[1]);
  step("read boot-log resource (parse+props)");
  form->BindComponents();
  step("bind components");
  // As ModulCreate does since it gives InitForm the host's bounds: the client size they
  // leave inside the frame, and the controls laid out for it, before any window exists.
  if (gBoundsFirst) {
    RECT frame = {0, 0, 0, 0};
    AdjustWindowRectEx(&frame, WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_MINIMIZEBOX, FALSE, 0);
    form->SetBounds(300, 1, 300, 460);
    form->SetClientWidth(300 - (frame.right - frame.left));
    form->SetClientHeight(460 - (frame.bottom - frame.top));
    form->Realign();
    step("lay out for the host's bounds, no windows yet");
  }
  if (hookCreation) gCbt = SetWindowsHookExA(WH_CBT, CbtHook, nullptr, GetCurrentThreadId());
  form->Handle();
  if (gCbt) {
    CloseCreation(NowMs());
    UnhookWindowsHookEx(gCbt);
    gCbt = nullptr;
  }
  step("create windows (Handle)");
  if (form->OnCreate) form->OnCreate(form);
  step("OnCreate (registry, AUTOEXEC.BAT, texts)");
  form->SetCaption("Rechnerstart in Datei festhalten");
  step("ModulCreate: SetCaption");
  RECT now = form->BoundsRect(), host = {300, 1, 600, 461};
  if (!gBoundsFirst || !EqualRect(&now, &host)) form->SetBounds(300, 1, 300, 460);
  step("ModulCreate: SetBounds (layout)");
  form->Tag = 13;
  form->SetHint("Hinweis");
  form->HelpNr = 263;
  step("ModulCreate: SetHint");
  form->ShowInSteps(step);
  form->Sprache(0);
  step("ModulCreate: Sprache");
  RedrawWindow(form->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  Pump();
  GdiFlush();
  step("paint");
  delete form;
  Pump();
  step("free");
}

void PrintPhases(int cycles) {
  double total = 0;
  std::printf("Phases of one opening, median of %d cycles (module code linked in, x86_64):\n",
              cycles);
  for (const std::string &p : gOrder) {
    double m = Quantile(gPhase[p], 0.5);
    if (p != "free") total += m;
    std::printf("  %-44s %8.3f ms\n", p.c_str(), m);
  }
  std::printf("  %-44s %8.3f ms\n", "sum of medians until painted", total);
  std::printf("Window creation by class (time from its creation to the next window's, median "
              "per window, windows a cycle):\n");
  for (auto &c : gByClass)
    std::printf("  %-24s %8.3f ms  x %d\n", c.first.c_str(), Quantile(c.second, 0.5),
                gCountByClass[c.first] / cycles);
}

template <class F>
double Median(int n, F f) {
  std::vector<double> t;
  for (int i = 0; i < n; ++i) {
    double a = NowMs();
    f();
    t.push_back(NowMs() - a);
  }
  return Quantile(t, 0.5);
}

void SystemCalls(int n) {
  std::printf("Single steps on their own, median of %d:\n", n);
  HINSTANCE inst = GetModuleHandleA(nullptr);
  auto line = [](const char *what, double ms) { std::printf("  %-44s %8.3f ms\n", what, ms); };
  line("CreateFontIndirect + DeleteObject (Tahoma -11)", Median(n, [] {
         LOGFONTA lf = {};
         lf.lfHeight = -11;
         lstrcpyA(lf.lfFaceName, "Tahoma");
         DeleteObject(CreateFontIndirectA(&lf));
       }));
  line("LoadImage FLASK 32 and 16, DestroyIcon", Median(n, [inst] {
         DestroyIcon(HICON(LoadImageA(inst, "FLASK", IMAGE_ICON, 32, 32, 0)));
         DestroyIcon(HICON(LoadImageA(inst, "FLASK", IMAGE_ICON, 16, 16, 0)));
       }));
  line("LoadBitmap GLYPH_SHOWLOG + DeleteObject", Median(n, [inst] {
         DeleteObject(LoadBitmapA(inst, "GLYPH_SHOWLOG"));
       }));
  line("tooltip window created and destroyed", Median(n, [inst] {
         HWND tip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                                    WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                    inst, nullptr);
         DestroyWindow(tip);
       }));
  line("GetHelpText 263 German and English", Median(n, [] {
         GetHelpText(263, ORVANE_HELP_GERMAN);
         GetHelpText(263, ORVANE_HELP_ENGLISH);
       }));
  line("registry: open settings key, read BSControl", Median(n, [] {
         TRegistry reg;
         reg.RootKey = HKEY_CURRENT_USER;
         reg.OpenKey("SOFTWARE\\Orvane\\Tessaly 2000", true);
         if (reg.ValueExists("BSControl")) reg.ReadBool("BSControl");
         reg.CloseKey();
       }));
  line("AUTOEXEC.BAT: exists + read lines", Median(n, [] {
         FileExists("c:\\AUTOEXEC.BAT");
         TStringList l;
         l.LoadFromFile("c:\\AUTOEXEC.BAT");
       }));
  line("winboot.log exists", Median(n, [] { FileExists("c:\\winboot.log"); }));
  std::printf("The select-directory dialog's parts, median of %d:\n", n / 10 + 1);
  DWORD drives = GetLogicalDrives();
  for (char d = 'a'; d <= 'z'; ++d) {
    if (!(drives & (1u << (d - 'a')))) continue;
    char root[4] = {d, ':', '\\', 0};
    char what[64];
    std::snprintf(what, sizeof what, "volume label of %c: (type %u)", d, GetDriveTypeA(root));
    line(what, Median(n / 10 + 1, [d] { DriveVolumeLabel(d); }));
    std::snprintf(what, sizeof what, "drive type of %c:", d);
    line(what, Median(n / 10 + 1, [root] { GetDriveTypeA(root); }));
  }
  line("GetLogicalDrives", Median(n / 10 + 1, [] { GetLogicalDrives(); }));
  line("current directory", Median(n / 10 + 1, [] { GetCurrentDir(); }));
  line("dialog made and freed, not shown", Median(n / 10 + 1, [] {
         SetCurrentDirectoryA("c:\\");
         delete new TSelectDirDlg(nullptr);
       }));
}

}  // namespace

int main(int argc, char **argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  int cycles = argc > 1 && std::atoi(argv[1]) > 0 ? std::atoi(argv[1]) : 100;
  gBoundsFirst = !(argc > 2 && std::strcmp(argv[2], "after") == 0);
  ModulLanguage = 0;
  ModulOsCode = 13;
  ModulValidOsMask = 4096;
  // The normal, valid window: an AUTOEXEC.BAT without the hook.
  WriteUnhookedAutoexec();
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
  Cycle(true);  // the first: class registration and the shared pictures
  gPhase.clear();
  gOrder.clear();
  gByClass.clear();
  gCountByClass.clear();
  for (int i = 0; i < cycles; ++i) Cycle(true);
  PrintPhases(cycles);
  SystemCalls(cycles);
  return 0;
}
