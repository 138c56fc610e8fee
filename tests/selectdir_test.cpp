// The select-directory dialog as ChooseDirectory shows it, driven from outside its modal
// loop: a thread timer runs a script of steps while ChooseDirectory waits in the loop.
// Keys are posted to the focused control as the keyboard would deliver them (key down and
// up with their scan codes, characters made by the loop's TranslateMessage); clicks are
// real mouse input through SendInput.  Works in c:\seldir_test of the prefix; since keys
// and clicks need the foreground, it runs apart from the other programs that use real
// input (the boot-drive lock of the tip's tests).
//
// The same tests run on a screen at 120 dots per inch (selectdir_dpi120_test.cpp
// includes this file): every expected position is the layout at 96 scaled to the screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <set>

#include <winternl.h>

#include "folderselect/SelectDirDlg.h"
#include "support/TestSupport.h"
#include "toolkit/Consts.h"
#include "toolkit/Form.h"

namespace {

const std::string kRoot = "C:\\seldir_test";
const std::string kAlpha = kRoot + "\\Alpha";

using Step = std::function<bool(TSelectDirDlg &)>;

// --- the script runner ------------------------------------------------------------------

HWND ShownDialogWindow() {
  struct Search {
    HWND found = nullptr;
  } s;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND h, LPARAM l) -> BOOL {
        char cls[64] = {};
        GetClassNameA(h, cls, sizeof cls);
        if (strcmp(cls, "TSelectDirDlg") == 0 && IsWindowVisible(h)) {
          reinterpret_cast<Search *>(l)->found = h;
          return FALSE;
        }
        return TRUE;
      },
      LPARAM(&s));
  return s.found;
}

int CountDialogWindows() {
  int n = 0;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND h, LPARAM l) -> BOOL {
        char cls[64] = {};
        GetClassNameA(h, cls, sizeof cls);
        if (strcmp(cls, "TSelectDirDlg") == 0) ++*reinterpret_cast<int *>(l);
        return TRUE;
      },
      LPARAM(&n));
  return n;
}

// Runs its steps, one per timer tick, on the dialog while it is shown; a step that
// returns false is tried again on the next tick.  Steps that stall for 15 s close the
// dialog so that a failing test cannot hang.
class Script {
 public:
  explicit Script(std::vector<Step> steps) : steps_(std::move(steps)) {
    current_ = this;
    started_ = GetTickCount();
    timer_ = SetTimer(nullptr, 0, 15, Tick);
  }
  ~Script() {
    KillTimer(nullptr, timer_);
    current_ = nullptr;
  }
  // Every step ran; the last one may be the input that closed the dialog.
  bool Done() const { return next_ == steps_.size() || (next_ + 1 == steps_.size() && lastBegun_); }
  bool SawDialog() const { return sawDialog_; }
  size_t StepsRun() const { return next_; }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    Script *s = current_;
    if (!s || s->busy_) return;
    HWND h = ShownDialogWindow();
    auto *dlg = dynamic_cast<TSelectDirDlg *>(TControl::FromHandle(h));
    if (!dlg) return;
    s->sawDialog_ = true;
    if (GetTickCount() - s->started_ > 15000) {
      ADD_FAILURE() << "script stalled at step " << s->next_;
      PostMessageA(h, WM_CLOSE, 0, 0);
      s->next_ = s->steps_.size();
      return;
    }
    if (s->Done()) return;
    // Programs of other tests share the display and may have taken the keyboard: keys
    // and focus belong to the foreground window, so the dialog (or its message box)
    // must be it.  Activation gives the focus back to the control that had it.
    HWND front = GetForegroundWindow();
    if (!front || GetWindowThreadProcessId(front, nullptr) != GetCurrentThreadId()) {
      SetForegroundWindow(h);
      return;
    }
    s->busy_ = true;
    if (s->next_ + 1 == s->steps_.size()) s->lastBegun_ = true;
    if (s->steps_[s->next_](*dlg)) ++s->next_;
    s->busy_ = false;
  }

  static Script *current_;
  std::vector<Step> steps_;
  size_t next_ = 0;
  bool sawDialog_ = false;
  bool busy_ = false;
  bool lastBegun_ = false;
  DWORD started_ = 0;
  UINT_PTR timer_ = 0;
};
Script *Script::current_ = nullptr;

// --- input ------------------------------------------------------------------------------

void PostKey(HWND to, WORD vk, bool alt = false) {
  LPARAM scan = LPARAM(MapVirtualKeyA(vk, 0)) << 16;
  LPARAM context = alt ? (1 << 29) : 0;
  PostMessageA(to, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, 1 | scan | context);
  PostMessageA(to, alt ? WM_SYSKEYUP : WM_KEYUP, vk, 1 | scan | context | LPARAM(0xC0000000));
}

// A key pressed on the focused control.
Step Key(WORD vk) {
  return [vk](TSelectDirDlg &) {
    PostKey(GetFocus(), vk);
    return true;
  };
}

// Alt with a letter.
Step AltKey(char letter) {
  return [letter](TSelectDirDlg &) {
    PostKey(GetFocus(), WORD(UpCase(letter)), true);
    return true;
  };
}

// Characters typed into the focused control.
Step Type(const std::string &text) {
  return [text](TSelectDirDlg &) {
    for (char c : text) PostMessageA(GetFocus(), WM_CHAR, WPARAM(BYTE(c)), 1);
    return true;
  };
}

// A real click (or double click) at a point of a window's client area; the dialog comes
// to the front first, since other programs' windows share the display.
void RealClickAt(TSelectDirDlg &dlg, HWND h, POINT pt, bool twice = false) {
  SetWindowPos(dlg.Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(dlg.Handle());
  ClientToScreen(h, &pt);
  SetCursorPos(pt.x, pt.y);
  // The move goes in the same batch as the buttons, so that no other program's input
  // comes between them.
  INPUT in[5] = {};
  for (auto &i : in) i.type = INPUT_MOUSE;
  in[0].mi.dx = MulDiv(pt.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  in[0].mi.dy = MulDiv(pt.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  in[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  in[1].mi.dwFlags = in[3].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  in[2].mi.dwFlags = in[4].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(twice ? 5 : 3, in, sizeof(INPUT));
}

// Real input takes its way through the system: the step ends a little later, once it
// has arrived.
Step AfterInput(std::function<void(TSelectDirDlg &)> send) {
  auto sentAt = std::make_shared<DWORD>(0);
  return [send, sentAt](TSelectDirDlg &dlg) {
    if (!*sentAt) {
      send(dlg);
      *sentAt = GetTickCount() | 1;
      return false;
    }
    return GetTickCount() - *sentAt >= 60;
  };
}

Step Click(std::function<TControl *(TSelectDirDlg &)> which) {
  return AfterInput([which](TSelectDirDlg &dlg) {
    TControl *c = which(dlg);
    RECT r;
    GetClientRect(c->Handle(), &r);
    RealClickAt(dlg, c->Handle(), {r.right / 2, r.bottom / 2});
  });
}
TControl *OK(TSelectDirDlg &d) { return d.OKButton; }
TControl *Cancel(TSelectDirDlg &d) { return d.CancelButton; }
TControl *Help(TSelectDirDlg &d) { return d.HelpButton; }
TControl *Net(TSelectDirDlg &d) { return d.NetButton; }

// Double click on the directory list's item with this text; the step ends once the list
// has gone there.
Step OpenDir(const std::string &item) {
  auto sentAt = std::make_shared<DWORD>(0);
  return [item, sentAt](TSelectDirDlg &dlg) {
    if (*sentAt) {
      std::string cur = dlg.DirList->CurrentDirectory();
      bool there = AnsiCompareText(ExtractFileName(cur), item) == 0 || (item.size() == 3 && cur == item);
      return there || GetTickCount() - *sentAt > 3000;
    }
    int index = ItemPosition(*dlg.DirList, item);
    EXPECT_GE(index, 0) << item;
    if (index < 0) return true;
    RECT r;
    SendMessageA(dlg.DirList->Handle(), LB_GETITEMRECT, WPARAM(index), LPARAM(&r));
    RealClickAt(dlg, dlg.DirList->Handle(), {r.left + 40, (r.top + r.bottom) / 2}, true);
    *sentAt = GetTickCount() | 1;
    return false;
  };
}

// The close box in the caption, found by asking the window where it is.
Step CloseBox() {
  return AfterInput([](TSelectDirDlg &dlg) {
    RECT wr;
    GetWindowRect(dlg.Handle(), &wr);
    for (int x = wr.right - 2; x > wr.right - 60; --x)
      for (int y = wr.top + 2; y < wr.top + 30; ++y)
        if (SendMessageA(dlg.Handle(), WM_NCHITTEST, 0, MAKELPARAM(x, y)) == HTCLOSE) {
          POINT pt = {x - 3, y + 3};
          ScreenToClient(dlg.Handle(), &pt);
          RealClickAt(dlg, dlg.Handle(), pt);
          return;
        }
    ADD_FAILURE() << "no close box";
    PostMessageA(dlg.Handle(), WM_CLOSE, 0, 0);
  });
}

// Runs checks on the dialog as it is.
Step Check(std::function<void(TSelectDirDlg &)> f) {
  return [f](TSelectDirDlg &dlg) {
    f(dlg);
    return true;
  };
}

std::string FocusName() {
  TControl *c = TControl::FromHandle(GetFocus());
  return c ? c->Name : "(none)";
}

// Answers the system message box the dialog shows with a button; keeps its text.
Step AnswerBox(int button, std::vector<std::string> *texts) {
  return [button, texts](TSelectDirDlg &) {
    struct Find {
      HWND box = nullptr;
    } f;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND h, LPARAM l) -> BOOL {
          char cls[16] = {};
          GetClassNameA(h, cls, sizeof cls);
          if (strcmp(cls, "#32770") == 0 && IsWindowVisible(h)) reinterpret_cast<Find *>(l)->box = h;
          return TRUE;
        },
        LPARAM(&f));
    if (!f.box) return false;
    char text[512] = {};
    GetDlgItemTextA(f.box, 0xFFFF, text, sizeof text);
    texts->push_back(text);
    PostMessageA(f.box, WM_COMMAND, WPARAM(button), 0);
    return true;
  };
}

// --- expected layout --------------------------------------------------------------------

int Ppi() { return Screen->PixelsPerInch(); }
int Scaled(int v) { return MulDiv(v, Ppi(), 96); }
// Bounds at 96 dots per inch as the screen's scaling makes them (right and bottom edges
// are scaled, not the sizes).
RECT ScaledBounds(int l, int t, int w, int h) {
  return {Scaled(l), Scaled(t), Scaled(l + w), Scaled(t + h)};
}
RECT BoundsOf(TControl *c) { return {c->Left(), c->Top(), c->Left() + c->Width(), c->Top() + c->Height()}; }
std::string Str(const RECT &r) {
  return Format("(%ld,%ld)-(%ld,%ld)", r.left, r.top, r.right, r.bottom);
}
// Where the window really is, in its parent's client area.
RECT WindowBoundsOf(TControl *c) {
  RECT r;
  GetWindowRect(c->Handle(), &r);
  MapWindowPoints(nullptr, GetParent(c->Handle()), reinterpret_cast<POINT *>(&r), 2);
  return r;
}

// --- file system ------------------------------------------------------------------------

void MakeDir(const std::string &path) { CreateDirectoryA(path.c_str(), nullptr); }

// Every entry below dir, as paths relative to it.
std::set<std::string> TreeOf(const std::string &dir, const std::string &prefix = "") {
  std::set<std::string> out;
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return out;
  do {
    std::string name = fd.cFileName;
    if (name == "." || name == "..") continue;
    out.insert(prefix + name);
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      auto sub = TreeOf(dir + "\\" + name, prefix + name + "\\");
      out.insert(sub.begin(), sub.end());
    }
  } while (FindNextFileA(h, &fd));
  FindClose(h);
  return out;
}

std::set<std::string> Added(const std::set<std::string> &before, const std::set<std::string> &after) {
  std::set<std::string> d;
  std::set_difference(after.begin(), after.end(), before.begin(), before.end(), std::inserter(d, d.end()));
  return d;
}

std::set<std::string> TopOfC() {
  std::set<std::string> out;
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA("C:\\*", &fd);
  if (h == INVALID_HANDLE_VALUE) return out;
  do out.insert(fd.cFileName);
  while (FindNextFileA(h, &fd));
  FindClose(h);
  return out;
}

std::vector<std::string> PartsOf(const std::string &path) {
  std::vector<std::string> parts;
  std::string part;
  for (char ch : path + "\\") {
    if (ch == '\\' || ch == '/') {
      while (!part.empty() && part.back() == ' ') part.pop_back();
      if (!part.empty() && part.find(':') == std::string::npos) parts.push_back(part);
      part.clear();
    } else {
      part += ch;
    }
  }
  return parts;
}

bool DriveExists(char letter) { return (GetLogicalDrives() >> (UpCase(letter) - 'A')) & 1; }

class SelectDir : public testing::Test {
 protected:
  void SetUp() override {
    RemoveTree(kRoot);
    MakeDir(kRoot);
    MakeDir(kAlpha);
    MakeDir(kAlpha + "\\Beta");
    MakeDir(kAlpha + "\\Delta");
    MakeDir(kRoot + "\\Gamma");
    for (const char *f : {"one.txt", "two.bat"}) WriteTextFile(kAlpha + "\\" + f, "x");
    WriteTextFile(kAlpha + "\\Beta\\inner.txt", "x");
    WriteTextFile(kRoot + "\\top.txt", "x");
    ChDir(kAlpha);
    previousHelp_ = SetHelpHandler([this](int ctx) { helpRequests.push_back(ctx); });
  }
  void TearDown() override {
    SetHelpHandler(previousHelp_);
    SetNetProcLookup(nullptr);
    EXPECT_EQ(CountDialogWindows(), 0) << "a dialog window was left";
    ChDir("C:\\");
    RemoveTree(kRoot);
  }
  std::vector<int> helpRequests;

 private:
  THelpHandler previousHelp_;
};

std::vector<std::string> ItemsOf(const TCustomListBox &list) {
  std::vector<std::string> v;
  for (int i = 0; i < list.Count(); ++i) v.push_back(list.Items(i));
  return v;
}

// The dialog shows dir in its directory list, path label, edit box and file list.
void ExpectShows(TSelectDirDlg &dlg, const std::string &dir) {
  EXPECT_EQ(dlg.DirList->CurrentDirectory(), dir);
  EXPECT_EQ(dlg.DirLabel->Caption(), dir);
  EXPECT_EQ(dlg.DirEdit->Text(), dir);
  EXPECT_EQ(dlg.FileList->CurrentDirectory(), dir);
  EXPECT_EQ(UpCase(dlg.DriveList->DriveLetter()), UpCase(dir[0]));
  EXPECT_EQ(GetCurrentDir(), dir) << "the process follows the dialog";
}

// --- layout -----------------------------------------------------------------------------

TEST_F(SelectDir, LayoutTabOrderAndCaptionsFollowTheTableAtTheScreensResolution) {
  std::string dir;
  Script script({Check([](TSelectDirDlg &dlg) {
                   EXPECT_EQ(WindowText(dlg.Handle()), SSelectDirCap);
                   EXPECT_EQ(dlg.ClientWidth(), Scaled(424));
                   EXPECT_EQ(dlg.ClientHeight(), Scaled(255));
                   LONG style = GetWindowLongA(dlg.Handle(), GWL_STYLE);
                   EXPECT_FALSE(style & WS_THICKFRAME) << "fixed size";
                   EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
                   RECT wr;
                   GetWindowRect(dlg.Handle(), &wr);
                   EXPECT_EQ(wr.left, Screen->Width() / 2 - (wr.right - wr.left) / 2) << "centred";
                   EXPECT_EQ(wr.top, Screen->Height() / 2 - (wr.bottom - wr.top) / 2) << "centred";

                   struct Expect {
                     TControl *c;
                     int l, t, w, h;
                   } table[] = {
                       {dlg.DirEdit, 8, 24, 313, 20},   {dlg.DirLabel, 8, 24, 313, 20},
                       {dlg.DirList, 8, 72, 213, 138},  {dlg.FileList, 232, 72, 185, 93},
                       {dlg.NetButton, 8, 224, 77, 27}, {dlg.OKButton, 172, 224, 77, 27},
                       {dlg.CancelButton, 256, 224, 77, 27}, {dlg.HelpButton, 340, 224, 77, 27},
                   };
                   for (auto &e : table) {
                     EXPECT_EQ(Str(BoundsOf(e.c)), Str(ScaledBounds(e.l, e.t, e.w, e.h))) << e.c->Name;
                     if (e.c->HandleAllocated() && e.c != dlg.DirList) {
                       EXPECT_EQ(Str(WindowBoundsOf(e.c)), Str(BoundsOf(e.c))) << e.c->Name << " window";
                     }
                   }
                   RECT drive = WindowBoundsOf(dlg.DriveList);
                   EXPECT_EQ(drive.left, Scaled(232));
                   EXPECT_EQ(drive.top, Scaled(192));
                   EXPECT_EQ(drive.right, Scaled(417));
                   // Integral height: the list shows whole items only.
                   RECT listClient;
                   GetClientRect(dlg.DirList->Handle(), &listClient);
                   EXPECT_EQ(listClient.bottom % dlg.DirList->ItemHeight(), 0) << listClient.bottom;
                   EXPECT_LE(WindowBoundsOf(dlg.DirList).bottom, Scaled(210));
                   if (Ppi() == 96) {
                     EXPECT_EQ(dlg.DirList->ItemHeight(), 17);
                     EXPECT_EQ(dlg.FileList->ItemHeight(), 13);
                     EXPECT_FALSE(dlg.FileList->ParentFont());
                   } else {
                     // The dialog's scaled font, grey again.
                     EXPECT_EQ(dlg.FileList->Font().Height(), dlg.Font().Height());
                     EXPECT_EQ(dlg.FileList->Font().Name(), dlg.Font().Name());
                     EXPECT_EQ(dlg.Font().Height(), MulDiv(-11, Ppi(), 96));
                   }
                   EXPECT_EQ(dlg.FileList->Font().Color(), TColor(0xFF000011)) << "grey text";
                   EXPECT_EQ(dlg.FileList->Mask(), "*.*");
                   EXPECT_TRUE(dlg.FileList->FileType() == TFileType{ftNormal});
                   EXPECT_EQ(dlg.FileList->FileEdit(), nullptr);
                   EXPECT_EQ(dlg.DriveList->DirList(), nullptr) << "joined only by the dialog";

                   EXPECT_FALSE(dlg.DirEdit->Visible());
                   EXPECT_TRUE(dlg.DirLabel->Visible());
                   EXPECT_FALSE(dlg.NetButton->Visible());
                   EXPECT_EQ(dlg.DefaultButton, dlg.OKButton);
                   EXPECT_EQ(dlg.OKButton->ModalResult, mrOk);
                   EXPECT_EQ(dlg.CancelButton->ModalResult, mrCancel);
                   EXPECT_EQ(dlg.TForm::CancelButton, dlg.CancelButton);
                   EXPECT_EQ(dlg.ActiveControl(), dlg.DirList);
                   EXPECT_EQ(FocusName(), "DirList");
                   EXPECT_EQ(dlg.HelpContext, 1000);

                   std::vector<std::string> order;
                   for (TControl *c : dlg.TabList()) order.push_back(c->Name);
                   EXPECT_EQ(order, (std::vector<std::string>{"DirList", "DirEdit", "DriveList", "NetButton",
                                                              "OKButton", "CancelButton", "FileList",
                                                              "HelpButton"}));
                   // The four captions: labels whose accelerator leads to their control.
                   std::map<std::string, std::string> captions;
                   for (int i = 0; i < dlg.ControlCount(); ++i)
                     if (auto *label = dynamic_cast<TLabel *>(dlg.Controls(i)))
                       captions[label->Caption()] = label->FocusControl() ? label->FocusControl()->Name : "";
                   EXPECT_EQ(captions, (std::map<std::string, std::string>{{SDirNameCap, "DirEdit"},
                                                                         {SDrivesCap, "DriveList"},
                                                                         {SDirsCap, "DirList"},
                                                                         {SFilesCap, "FileList"}}));
                 }),
                 Click(Cancel)});
  EXPECT_FALSE(ChooseDirectory(dir, {}, 1000));
  EXPECT_TRUE(script.Done());
}

// --- start directory --------------------------------------------------------------------

TEST_F(SelectDir, StartDirectoryChoosesWhereTheDialogOpensAndOKReturnsIt) {
  struct Case {
    std::string start, shown;
  } cases[] = {
      {"", kAlpha},                                  // the process's directory
      {kRoot + "\\Gamma", kRoot + "\\Gamma"},
      {"Beta", kAlpha + "\\Beta"},                   // relative to the process's directory
      {"..\\Gamma", kRoot + "\\Gamma"},
      {kAlpha + "\\", kAlpha},
      {kRoot + "/Gamma", kRoot + "\\Gamma"},
      {kRoot + "\\Missing\\Deeper", kAlpha},         // the drive's current directory
      {kAlpha + "\\one.txt", kAlpha},                // a file is no directory
      {"\\\\server\\share\\dir", kAlpha},            // a network path changes nothing
      {"C:\\", "C:\\"},                              // the root itself
      {"c:\\", "C:\\"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE("start \"" + c.start + "\"");
    ChDir(kAlpha);
    std::string dir = c.start;
    Script script({Check([&](TSelectDirDlg &dlg) { ExpectShows(dlg, c.shown); }), Click(OK)});
    EXPECT_TRUE(ChooseDirectory(dir, {}, 0));
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(dir, c.shown);
    EXPECT_EQ(GetCurrentDir(), c.shown);
    EXPECT_EQ(CountDialogWindows(), 0);
  }
}

TEST_F(SelectDir, StartDirectoryOnAnotherDriveSelectsThatDrive) {
  if (!DriveExists('D')) GTEST_SKIP() << "no drive D: in this prefix";
  struct Case {
    std::string start, shown;
  } cases[] = {
      {"D:\\", "D:\\"},
      {"d:\\", "D:\\"},
      {"D:\\nowhere\\at all", "D:\\"},  // the drive's current directory
  };
  for (const Case &c : cases) {
    SCOPED_TRACE("start \"" + c.start + "\"");
    ChDir(kAlpha);
    std::string dir = c.start;
    Script script({Check([&](TSelectDirDlg &dlg) {
                     EXPECT_EQ(UpCase(dlg.DriveList->DriveLetter()), 'D');
                     // The drive letter comes in the drive list's case.
                     EXPECT_EQ(AnsiUpperCase(dlg.DirList->CurrentDirectory()), c.shown);
                     EXPECT_EQ(dlg.DirLabel->Caption(), dlg.DirList->CurrentDirectory());
                   }),
                   Key(VK_ESCAPE)});
    EXPECT_FALSE(ChooseDirectory(dir, {}, 0));
    EXPECT_EQ(dir, c.start) << "unchanged on Cancel";
  }
}

TEST_F(SelectDir, MissingDriveRaisesBeforeTheDialogShowsAndLeavesEverythingAsItWas) {
  char missing = 0;
  for (char d = 'Q'; d >= 'K' && !missing; --d)
    if (!DriveExists(d)) missing = d;
  ASSERT_NE(missing, 0);
  std::string drive(1, missing);
  for (const std::string &start : {drive + ":\\somewhere", drive + ":", AnsiLowerCase(drive) + ":\\"}) {
    for (TChooseDirOptions options : {TChooseDirOptions{}, TChooseDirOptions{cdAllowNewName, cdCreateOnAccept}}) {
      SCOPED_TRACE(start);
      ChDir(kAlpha);
      std::string dir = start;
      Script script({Click(OK)});
      EXPECT_THROW(ChooseDirectory(dir, options, 1000), EInOutError);
      EXPECT_FALSE(script.SawDialog());
      EXPECT_EQ(dir, start);
      EXPECT_EQ(GetCurrentDir(), kAlpha);
      EXPECT_EQ(CountDialogWindows(), 0);
    }
  }
}

// --- closing ----------------------------------------------------------------------------

TEST_F(SelectDir, EveryWayOfClosingGivesItsResultAndRemovesTheWindow) {
  struct Case {
    const char *how;
    std::vector<Step> steps;
    bool result;
  } cases[] = {
      {"OK clicked", {Click(OK)}, true},
      {"Cancel clicked", {Click(Cancel)}, false},
      {"Escape", {Key(VK_ESCAPE)}, false},
      {"close box", {CloseBox()}, false},
      // Tab from the directory list passes the hidden edit box and Network button.
      {"Tab to OK, Enter",
       {Key(VK_TAB), Check([](TSelectDirDlg &) { EXPECT_EQ(FocusName(), "DriveList"); }), Key(VK_TAB),
        Check([](TSelectDirDlg &) { EXPECT_EQ(FocusName(), "OKButton"); }), Key(VK_RETURN)},
       true},
      {"Tab to Cancel, Enter",
       {Key(VK_TAB), Key(VK_TAB), Key(VK_TAB),
        Check([](TSelectDirDlg &) { EXPECT_EQ(FocusName(), "CancelButton"); }), Key(VK_RETURN)},
       false},
      {"Space on Cancel", {Key(VK_TAB), Key(VK_TAB), Key(VK_TAB), Key(VK_SPACE)}, false},
  };
  for (Case &c : cases) {
    SCOPED_TRACE(c.how);
    ChDir(kAlpha);
    std::string dir = "start";
    c.steps.insert(c.steps.begin(), OpenDir("Beta"));
    Script script(c.steps);
    EXPECT_EQ(ChooseDirectory(dir, {}, 1000), c.result);
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(dir, c.result ? kAlpha + "\\Beta" : "start");
    // Where the user went, the process stays: the dialog works through its directory.
    EXPECT_EQ(GetCurrentDir(), kAlpha + "\\Beta");
    EXPECT_EQ(CountDialogWindows(), 0);
  }
}

// --- walking ----------------------------------------------------------------------------

TEST_F(SelectDir, MouseWalksTheDirectoryTreeAndTheFileListFollows) {
  ChDir(kRoot);
  std::string dir;
  Script script({
      Check([](TSelectDirDlg &dlg) {
        EXPECT_EQ(ItemsOf(*dlg.DirList), (std::vector<std::string>{"C:\\", "seldir_test", "Alpha", "Gamma"}));
        EXPECT_EQ(ItemsOf(*dlg.FileList), (std::vector<std::string>{"top.txt"}));
      }),
      OpenDir("Alpha"),
      Check([](TSelectDirDlg &dlg) {
        ExpectShows(dlg, kAlpha);
        EXPECT_EQ(ItemsOf(*dlg.FileList), (std::vector<std::string>{"one.txt", "two.bat"}));
      }),
      OpenDir("Beta"),
      Check([](TSelectDirDlg &dlg) {
        ExpectShows(dlg, kAlpha + "\\Beta");
        EXPECT_EQ(ItemsOf(*dlg.FileList), (std::vector<std::string>{"inner.txt"}));
      }),
      OpenDir("seldir_test"),
      Check([](TSelectDirDlg &dlg) {
        ExpectShows(dlg, kRoot);
        // Made while the dialog is open: the next visit reads the folder anew.
        MakeDir(kRoot + "\\Epsilon");
        WriteTextFile(kRoot + "\\Gamma\\late.txt", "x");
      }),
      OpenDir("Gamma"),
      Check([](TSelectDirDlg &dlg) {
        ExpectShows(dlg, kRoot + "\\Gamma");
        EXPECT_EQ(ItemsOf(*dlg.FileList), (std::vector<std::string>{"late.txt"}));
      }),
      OpenDir("seldir_test"),
      Check([](TSelectDirDlg &dlg) {
        EXPECT_EQ(ItemsOf(*dlg.DirList),
                  (std::vector<std::string>{"C:\\", "seldir_test", "Alpha", "Epsilon", "Gamma"}));
      }),
      OpenDir("Gamma"),
      Click(OK),
  });
  EXPECT_TRUE(ChooseDirectory(dir, {}, 0));
  EXPECT_TRUE(script.Done());
  EXPECT_EQ(dir, kRoot + "\\Gamma");
  EXPECT_EQ(GetCurrentDir(), kRoot + "\\Gamma");
}

// Opens the drive list with a click and clicks the drive's item in the list that drops.
Step PickDrive(char letter) {
  auto phase = std::make_shared<int>(0);
  auto sentAt = std::make_shared<DWORD>(0);
  return [letter, phase, sentAt](TSelectDirDlg &dlg) {
    HWND combo = dlg.DriveList->Handle();
    if (*phase == 0) {
      RECT r;
      GetClientRect(combo, &r);
      RealClickAt(dlg, combo, {r.right / 2, r.bottom / 2});
      *phase = 1;
      return false;
    }
    if (*phase == 1) {
      COMBOBOXINFO info = {sizeof info};
      if (!SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0) || !GetComboBoxInfo(combo, &info)) return false;
      int index = -1;
      for (int i = 0; i < dlg.DriveList->Count(); ++i)
        if (UpCase(dlg.DriveList->Items(i)[0]) == UpCase(letter)) index = i;
      EXPECT_GE(index, 0) << letter;
      RECT item;
      SendMessageA(info.hwndList, LB_GETITEMRECT, WPARAM(index), LPARAM(&item));
      RealClickAt(dlg, info.hwndList, {item.left + 30, (item.top + item.bottom) / 2});
      *phase = 2;
      *sentAt = GetTickCount();
      return false;
    }
    return UpCase(dlg.DirList->DriveLetter()) == UpCase(letter) || GetTickCount() - *sentAt > 3000;
  };
}

TEST_F(SelectDir, MouseSwitchesDrivesAndTheListsFollow) {
  if (!DriveExists('D')) GTEST_SKIP() << "no drive D: in this prefix";
  std::string dir;
  Script script({PickDrive('D'), Check([](TSelectDirDlg &dlg) {
                   EXPECT_EQ(AnsiUpperCase(dlg.DirList->CurrentDirectory()), "D:\\");
                   EXPECT_EQ(UpCase(dlg.DriveList->DriveLetter()), 'D');
                   EXPECT_EQ(dlg.DirLabel->Caption(), dlg.DirList->CurrentDirectory());
                   EXPECT_EQ(dlg.FileList->CurrentDirectory(), dlg.DirList->CurrentDirectory());
                 }),
                 PickDrive('C'), Check([](TSelectDirDlg &dlg) { ExpectShows(dlg, kAlpha); }), Click(OK)});
  EXPECT_TRUE(ChooseDirectory(dir, {}, 0));
  EXPECT_TRUE(script.Done());
  EXPECT_EQ(dir, kAlpha) << "back on c: in the directory it left there";
}

TEST_F(SelectDir, KeyboardWalksTabOrderAcceleratorsDirectoriesAndDrives) {
  // A Network button too, so that every control takes part.
  static DWORD connects = 0;
  SetNetProcLookup([](HMODULE m, const char *name) -> FARPROC {
    if (strcmp(name, "WNETGETCAPS") == 0)
      return reinterpret_cast<FARPROC>(+[](WORD) -> WORD { return 0x4D; });
    if (strcmp(name, "WNETCONNECTDIALOG") == 0)
      return reinterpret_cast<FARPROC>(+[](HWND, DWORD) -> DWORD { return ++connects, 0; });
    return nullptr;
  });
  connects = 0;
  std::vector<std::string> focus;
  auto noteFocus = Check([&](TSelectDirDlg &) { focus.push_back(FocusName()); });
  std::vector<Step> steps = {noteFocus};
  for (int i = 0; i < 8; ++i) {
    steps.push_back(Key(VK_TAB));
    steps.push_back(noteFocus);
  }
  for (char accel : {'L', 'D', 'Z', 'V', 'l', 'z'}) {
    steps.push_back(AltKey(accel));
    steps.push_back(noteFocus);
  }
  const bool otherDrive = DriveExists('D');
  steps.insert(steps.end(), {
      // Down to Beta in the list, Enter opens it.
      Key(VK_DOWN),
      Key(VK_RETURN),
      Check([](TSelectDirDlg &dlg) {
        ExpectShows(dlg, kAlpha + "\\Beta");
        EXPECT_EQ(FocusName(), "DirList") << "Enter stays with the list";
      }),
      Key(VK_UP),
      Key(VK_UP),
      Key(VK_RETURN),
      Check([](TSelectDirDlg &dlg) { ExpectShows(dlg, kRoot); }),
      // The drive list: the next drive, then back; the directory list follows, and
      // comes back to the directory it left on that drive.
      AltKey('L'),
      Key(VK_DOWN),
      Check([otherDrive](TSelectDirDlg &dlg) {
        if (otherDrive) {
          EXPECT_EQ(AnsiUpperCase(dlg.DirList->CurrentDirectory()), "D:\\");
        }
        EXPECT_EQ(dlg.DirLabel->Caption(), dlg.DirList->CurrentDirectory());
        EXPECT_EQ(dlg.FileList->CurrentDirectory(), dlg.DirList->CurrentDirectory());
      }),
      Key(VK_UP),
      Check([](TSelectDirDlg &dlg) { ExpectShows(dlg, kRoot); }),
      AltKey('H'),
      AltKey('N'),
      Check([this](TSelectDirDlg &) {
        EXPECT_EQ(helpRequests, std::vector<int>{1000});
        EXPECT_EQ(connects, 1u);
      }),
      // The edit box takes typed text; Enter there is the default button's.
      AltKey('V'),
      Type("Neu"),
      Key(VK_RETURN),
  });
  Script script(steps);
  std::string dir;
  EXPECT_TRUE(ChooseDirectory(dir, {cdAllowNewName}, 1000));
  EXPECT_TRUE(script.Done());
  EXPECT_EQ(focus, (std::vector<std::string>{"DirList", "DirEdit", "DriveList", "NetButton", "OKButton",
                                             "CancelButton", "FileList", "HelpButton", "DirList",
                                             "DriveList", "FileList", "DirList", "DirEdit", "DriveList",
                                             "DirList"}));
  EXPECT_EQ(dir, "Neu") << "typed text, as typed";
  EXPECT_EQ(GetCurrentDir(), kRoot);
}

// --- new names --------------------------------------------------------------------------

TEST_F(SelectDir, TypedNamesAreReturnedAsTypedAndCreatedOnlyWhereTheyPoint) {
  const TChooseDirOptions allow{cdAllowNewName}, create{cdAllowNewName, cdCreateOnAccept},
      confirm{cdAllowNewName, cdConfirmCreate}, all{cdAllowNewName, cdConfirmCreate, cdCreateOnAccept};
  struct Case {
    std::string typed;
    TChooseDirOptions options;
    std::vector<int> answers;  // to the creation questions, in order
    bool result;
    std::set<std::string> created;  // below the test folder
  } cases[] = {
      {kRoot + "\\New1", allow, {}, true, {}},
      {kRoot + "\\New2\\Sub", create, {}, true, {"New2", "New2\\Sub"}},
      {kRoot + "\\New3", confirm, {IDNO}, false, {}},  // No keeps the dialog open; Escape then
      {kRoot + "\\New4", all, {IDNO, IDYES}, true, {"New4"}},
      {kRoot + "\\Gamma", all, {}, true, {}},          // exists: no question
      {kRoot + "\\Slash\\", all, {IDYES}, true, {"Slash"}},
      {kRoot + "\\Blank  ", create, {}, true, {"Blank"}},
      {kRoot + "/Fwd/Sub", create, {}, true, {}},
      {"Rel\\Sub", create, {}, true, {}},
      {"Rel", all, {IDYES}, true, {}},
      {kRoot + "\\a<b>|c", all, {IDYES}, true, {}},
      {kRoot + "\\q?*", create, {}, true, {}},
      {"", all, {IDYES}, true, {}},
  };
  for (Case &c : cases) {
    SCOPED_TRACE("typed \"" + c.typed + "\" options " + std::to_string(c.options.Bits));
    ChDir(kAlpha);
    auto rootBefore = TopOfC();
    auto before = TreeOf(kRoot);
    std::vector<std::string> questions;
    std::vector<Step> steps = {AltKey('V'), Key(VK_BACK), Type(c.typed),
                               Check([](TSelectDirDlg &) { EXPECT_EQ(FocusName(), "DirEdit"); }),
                               Key(VK_RETURN)};
    for (size_t i = 0; i < c.answers.size(); ++i) {
      if (i > 0) steps.push_back(Click(OK));
      steps.push_back(AnswerBox(c.answers[i], &questions));
      if (c.answers[i] == IDNO)
        steps.push_back(Check([](TSelectDirDlg &dlg) { EXPECT_TRUE(IsWindowVisible(dlg.Handle())) << "stays open"; }));
    }
    if (!c.result) steps.push_back(Key(VK_ESCAPE));
    Script script(steps);
    std::string dir = "before";
    EXPECT_EQ(ChooseDirectory(dir, c.options, 0), c.result);
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(dir, c.result ? c.typed : "before");
    EXPECT_EQ(questions, std::vector<std::string>(c.answers.size(), SConfirmCreateDir));
    std::set<std::string> made = Added(before, TreeOf(kRoot));
    // The system may keep or drop trailing blanks; either names the same directory.
    if (made.count("Blank  ")) made = {"Blank"};
    EXPECT_EQ(made, c.created);
    // Nothing at the top of c: named like a part of the text (other tests come and go there).
    for (const std::string &entry : Added(rootBefore, TopOfC()))
      for (const std::string &part : PartsOf(c.typed)) EXPECT_NE(AnsiLowerCase(entry), AnsiLowerCase(part));
    EXPECT_EQ(GetCurrentDir(), kAlpha);
    for (auto it = c.created.rbegin(); it != c.created.rend(); ++it) RemoveDirectoryA((kRoot + "\\" + *it).c_str());
  }
}

TEST_F(SelectDir, WithoutNewNamesOKNeverAsksAndCreatesNothing) {
  for (TChooseDirOptions options : {TChooseDirOptions{cdConfirmCreate}, TChooseDirOptions{cdConfirmCreate, cdCreateOnAccept}}) {
    ChDir(kAlpha);
    BoxRecorder boxes;
    auto before = TreeOf(kRoot);
    std::string dir;
    // The edit box is hidden: Alt with its accelerator goes nowhere, and its text is
    // not what is returned.
    Script script({AltKey('V'), Check([](TSelectDirDlg &dlg) {
                     EXPECT_FALSE(dlg.DirEdit->Visible());
                     EXPECT_EQ(FocusName(), "DirList");
                     dlg.DirEdit->SetText(kRoot + "\\Elsewhere");
                   }),
                   Click(OK)});
    EXPECT_TRUE(ChooseDirectory(dir, options, 0));
    EXPECT_EQ(dir, kAlpha);
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_EQ(TreeOf(kRoot), before);
  }
}

// --- help and network -------------------------------------------------------------------

TEST_F(SelectDir, HelpContextGivesAHelpButtonOrClosesUpOKAndCancel) {
  struct Case {
    int ctx;
    bool help;
    int okLeft, cancelLeft;
  } cases[] = {{1000, true, 172, 256}, {0, false, 256, 340}, {-1, true, 172, 256}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.ctx);
    helpRequests.clear();
    std::string dir;
    std::vector<Step> steps = {Check([&](TSelectDirDlg &dlg) {
      EXPECT_EQ(dlg.HelpButton->Visible(), c.help);
      EXPECT_EQ(IsWindowVisible(dlg.HelpButton->Handle()) != 0, c.help);
      EXPECT_EQ(WindowBoundsOf(dlg.OKButton).left, Scaled(c.okLeft));
      EXPECT_EQ(WindowBoundsOf(dlg.CancelButton).left, Scaled(c.cancelLeft));
      EXPECT_EQ(dlg.HelpContext, c.ctx);
    })};
    if (c.help) {
      steps.push_back(Click(Help));
      steps.push_back(Check([&](TSelectDirDlg &) {
        EXPECT_EQ(helpRequests, std::vector<int>{c.ctx});
      }));
    }
    steps.push_back(Click(Cancel));  // where it now stands
    Script script(steps);
    EXPECT_FALSE(ChooseDirectory(dir, {}, c.ctx));
    EXPECT_TRUE(script.Done());
  }
  // Without a help system the user is told that there is no help file; the dialog stays.
  SetHelpHandler(nullptr);
  BoxRecorder boxes;
  std::string dir;
  Script script({Click(Help), Check([&](TSelectDirDlg &dlg) {
                   ASSERT_EQ(boxes.boxes.size(), 1u);
                   EXPECT_NE(boxes.boxes[0].text.find("1000"), std::string::npos) << boxes.boxes[0].text;
                   EXPECT_TRUE(IsWindowVisible(dlg.Handle()));
                 }),
                 Key(VK_ESCAPE)});
  EXPECT_FALSE(ChooseDirectory(dir, {}, 1000));
  EXPECT_TRUE(script.Done());
}

TEST_F(SelectDir, NetworkButtonOnlyWhereTheSystemHasTheConnectionDialog) {
  static std::vector<WORD> capsAsked;
  static std::vector<std::pair<HWND, DWORD>> connects;
  static WORD driver;
  static bool hasCaps, hasConnect;
  SetNetProcLookup([](HMODULE m, const char *name) -> FARPROC {
    if (strcmp(name, "WNETGETCAPS") == 0) {
      EXPECT_EQ(m, GetModuleHandleA("user32.dll"));
      if (!hasCaps) return nullptr;
      return reinterpret_cast<FARPROC>(+[](WORD index) -> WORD {
        capsAsked.push_back(index);
        return driver;
      });
    }
    if (strcmp(name, "WNETCONNECTDIALOG") == 0) {
      EXPECT_EQ(UINT_PTR(m), UINT_PTR(driver)) << "looked up in the module WNETGETCAPS named";
      if (!hasConnect) return nullptr;
      return reinterpret_cast<FARPROC>(+[](HWND owner, DWORD type) -> DWORD {
        connects.push_back({owner, type});
        return 1234;
      });
    }
    return nullptr;
  });
  struct Case {
    bool caps;
    WORD driver;
    bool connect;
    bool shown;
  } cases[] = {{false, 0, true, false}, {true, 0, true, false}, {true, 0x77, false, false}, {true, 0x77, true, true}};
  for (const Case &c : cases) {
    SCOPED_TRACE(Format("caps %d driver %x connect %d", c.caps, c.driver, c.connect));
    hasCaps = c.caps;
    hasConnect = c.connect;
    driver = c.driver;
    capsAsked.clear();
    connects.clear();
    HWND dialog = nullptr;
    std::vector<Step> steps = {Check([&](TSelectDirDlg &dlg) {
      dialog = dlg.Handle();
      EXPECT_EQ(dlg.NetButton->Visible(), c.shown);
      EXPECT_EQ(dlg.ConnectDialogProc() != nullptr, c.shown);
    })};
    if (c.shown) {
      steps.push_back(Click(Net));
      steps.push_back(Check([&](TSelectDirDlg &dlg) {
        EXPECT_EQ(connects, (std::vector<std::pair<HWND, DWORD>>{{dlg.Handle(), 1}}));
        EXPECT_TRUE(IsWindowVisible(dlg.Handle()));
      }));
    }
    steps.push_back(Key(VK_ESCAPE));
    Script script(steps);
    std::string dir;
    EXPECT_FALSE(ChooseDirectory(dir, {}, 0));
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(capsAsked, c.caps ? std::vector<WORD>{0xFFFF} : std::vector<WORD>{});
  }
  // This system's user32 has no WNETGETCAPS: the real look-up hides the button.
  SetNetProcLookup(nullptr);
  std::string dir;
  Script script({Check([](TSelectDirDlg &dlg) {
                   EXPECT_EQ(dlg.NetButton->Visible(),
                             GetProcAddress(GetModuleHandleA("user32.dll"), "WNETGETCAPS") != nullptr);
                 }),
                 Key(VK_ESCAPE)});
  ChooseDirectory(dir, {}, 0);
  EXPECT_TRUE(script.Done());
}

// --- resources and large folders ------------------------------------------------------

// GDI objects of the process.  GetGuiResources answers 0 under Wine; there the shared
// handle table the PEB points to is read instead: 24-byte entries, a nonzero type at
// offset 14 while the object lives (Wine's table belongs to the process alone).
int CountGdiObjects() {
  DWORD gui = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  if (gui) return int(gui);
  typedef LONG(NTAPI * QueryProc)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
  auto query = reinterpret_cast<QueryProc>(
      GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess"));
  PROCESS_BASIC_INFORMATION info{};
  if (!query || query(GetCurrentProcess(), ProcessBasicInformation, &info, sizeof info, nullptr)) return -1;
  const BYTE *peb = reinterpret_cast<const BYTE *>(info.PebBaseAddress);
  const BYTE *table = *reinterpret_cast<const BYTE *const *>(peb + (sizeof(void *) == 8 ? 0xF8 : 0x94));
  if (!table) return -1;
  int n = 0;
  for (int i = 0; i < 0x10000; ++i) n += table[24 * i + 14] != 0;
  return n;
}

// Kernel handles of the process (find handles hold one each), by asking each value.
int CountKernelHandles() {
  int n = 0;
  DWORD flags;
  for (UINT_PTR v = 4; v < 0x4000; v += 4) n += GetHandleInformation(HANDLE(v), &flags) != 0;
  return n;
}

int CountThreadWindows() {
  int n = 0;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND h, LPARAM l) -> BOOL {
        ++*reinterpret_cast<int *>(l);
        EnumChildWindows(
            h, [](HWND, LPARAM l2) -> BOOL { return ++*reinterpret_cast<int *>(l2), TRUE; }, l);
        return TRUE;
      },
      LPARAM(&n));
  return n;
}

struct Resources {
  int windows, gdi, user, handles;
};
std::ostream &operator<<(std::ostream &os, const Resources &r) {
  return os << "windows " << r.windows << ", GDI " << r.gdi << ", USER " << r.user << ", handles " << r.handles;
}
Resources Count() {
  return {CountThreadWindows(), CountGdiObjects(), int(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)),
          CountKernelHandles()};
}

TEST_F(SelectDir, TwoHundredDialogsLeaveNoWindowFontFindHandleOrGdiObject) {
  if (Ppi() != 96) GTEST_SKIP() << "counted once, at 96 dots per inch";
  BoxRecorder boxes;  // the creation question, answered No, then Escape
  auto cycle = [](int i) {
    std::string dir = i % 3 ? kAlpha : kRoot + "\\Gamma";
    std::vector<Step> steps;
    TChooseDirOptions options;
    switch (i % 6) {
      case 0: steps = {Key(VK_ESCAPE)}; break;
      case 1: steps = {Check([](TSelectDirDlg &dlg) { PostMessageA(dlg.Handle(), WM_CLOSE, 0, 0); })}; break;
      case 2: steps = {Key(VK_TAB), Key(VK_TAB), Key(VK_RETURN)}; break;  // OK
      case 3:
        options = {cdAllowNewName, cdConfirmCreate};
        steps = {AltKey('V'), Type("x"), Key(VK_RETURN), Key(VK_ESCAPE)};
        break;
      case 4: steps = {Key(VK_DOWN), Key(VK_RETURN), Key(VK_ESCAPE)}; break;  // into Beta
      case 5: {
        dir = "Q:\\none";  // raises before the dialog shows
        Script script({Key(VK_ESCAPE)});
        EXPECT_THROW(ChooseDirectory(dir, options, 0), EInOutError);
        return;
      }
    }
    Script script(steps);
    ChooseDirectory(dir, options, i % 2 ? 1000 : 0);
    EXPECT_TRUE(script.Done()) << "cycle " << i;
  };
  ASSERT_FALSE(DriveExists('Q'));
  for (int i = 0; i < 12; ++i) cycle(i);
  ChDir(kAlpha);
  PumpMessages(50);
  Resources before = Count();
  for (int i = 0; i < 200; ++i) cycle(i);
  ChDir(kAlpha);
  PumpMessages(50);
  Resources after = Count();
  // A leak of one cycle in six would be 33 or more; the system may make an object or
  // two of its own on the way.
  EXPECT_EQ(after.windows, before.windows);
  EXPECT_LE(after.gdi, before.gdi + 3) << after << " / " << before;
  EXPECT_LE(after.handles, before.handles + 3) << after << " / " << before;
  EXPECT_LE(after.user, before.user + 3) << after << " / " << before;
  EXPECT_GT(before.gdi, 0) << "GDI objects are counted";
  EXPECT_GT(before.handles, 0) << "handles are counted";
}

// Seconds from the call until the dialog is shown, and from a double click on an item
// until the list is in that directory.
double SecondsSince(LARGE_INTEGER start) {
  LARGE_INTEGER now, freq;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&freq);
  return double(now.QuadPart - start.QuadPart) / double(freq.QuadPart);
}

struct Timing {
  double open, enter;
};

Timing TimeDialogOn(const std::string &parent, const std::string &item) {
  Timing t{1e9, 1e9};
  for (int run = 0; run < 2; ++run) {
    LARGE_INTEGER start;
    double open = 0, enter = 0;
    auto clickAt = std::make_shared<LARGE_INTEGER>();
    std::string dir = parent + "\\" + item;
    {
      Script script({Check([&](TSelectDirDlg &) { open = SecondsSince(start); }), Key(VK_ESCAPE)});
      QueryPerformanceCounter(&start);
      ChooseDirectory(dir, {}, 0);
    }
    dir = parent;
    {
      Script script({Check([&](TSelectDirDlg &dlg) {
                       int index = ItemPosition(*dlg.DirList, item);
                       dlg.DirList->SetItemIndex(index);
                       dlg.DirList->SetFocus();
                       QueryPerformanceCounter(clickAt.get());
                     }),
                     Key(VK_RETURN), Check([&](TSelectDirDlg &dlg) {
                       enter = SecondsSince(*clickAt);
                       EXPECT_EQ(ExtractFileName(dlg.DirList->CurrentDirectory()), item);
                     }),
                     Key(VK_ESCAPE)});
      ChooseDirectory(dir, {}, 0);
    }
    t.open = std::min(t.open, open);
    t.enter = std::min(t.enter, enter);
  }
  return t;
}

TEST_F(SelectDir, LargeFoldersOpenWithoutAQuadraticStep) {
  if (Ppi() != 96) GTEST_SKIP() << "measured once, at 96 dots per inch";
  // A quarter and the whole: linear work takes about 4 times as long, quadratic 16.
  struct Case {
    const char *name;
    int count;
    bool dirs;
  } cases[] = {{"Files2500", 2500, false}, {"Files10000", 10000, false}, {"Dirs500", 500, true}, {"Dirs2000", 2000, true}};
  for (const Case &c : cases) {
    std::string dir = kRoot + "\\" + c.name;
    MakeDir(dir);
    for (int i = 0; i < c.count; ++i) {
      std::string path = Format("%s\\entry%05d%s", dir.c_str(), (i * 7919) % c.count, c.dirs ? "" : ".txt");
      if (c.dirs) MakeDir(path);
      else CloseHandle(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    }
  }
  Timing t[4];
  for (int i = 0; i < 4; ++i) t[i] = TimeDialogOn(kRoot, cases[i].name);
  for (int pair = 0; pair < 4; pair += 2) {
    SCOPED_TRACE(cases[pair + 1].name);
    std::printf("  %-10s open %.3f s, enter %.3f s; %-10s open %.3f s, enter %.3f s\n", cases[pair].name,
                t[pair].open, t[pair].enter, cases[pair + 1].name, t[pair + 1].open, t[pair + 1].enter);
    EXPECT_LT(t[pair + 1].open, 8 * std::max(t[pair].open, 0.02));
    EXPECT_LT(t[pair + 1].enter, 8 * std::max(t[pair].enter, 0.02));
  }
}

// --- the seam ---------------------------------------------------------------------------

TEST_F(SelectDir, AnInstalledHandlerAnswersInsteadOfTheDialog) {
  TChooseDirOptions seen;
  auto previous = SetChooseDirectoryHandler([&](std::string &d, TChooseDirOptions o, int ctx) {
    seen = o;
    EXPECT_EQ(ctx, 1000);
    d = "E:\\answer";
    return true;
  });
  Script script({Key(VK_ESCAPE)});
  std::string dir;
  EXPECT_TRUE(ChooseDirectory(dir, {cdCreateOnAccept}, 1000));
  EXPECT_EQ(dir, "E:\\answer");
  EXPECT_TRUE(seen == TChooseDirOptions{cdCreateOnAccept});
  EXPECT_FALSE(script.SawDialog());
  SetChooseDirectoryHandler(previous);
}

}  // namespace
