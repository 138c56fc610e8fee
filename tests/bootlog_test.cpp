// The boot-log tip window: what it reads from c:\AUTOEXEC.BAT, the LOG.BAT text, the log
// view of c:\winboot.log and deleting the log, in both languages and when disabled.
#include <gtest/gtest.h>

#include <memory>

#include "bootlog/BootlogForm.h"
#include "bootlog/SystemStarts.h"
#include "template/ModulState.h"
#include "support/TestSupport.h"

namespace {

const char *const kAutoexec = "c:\\AUTOEXEC.BAT";
const char *const kLog = "c:\\winboot.log";
const char *const kSettings = "SOFTWARE\\Orvane\\Tessaly 2000";
const char *const kShowCaption = "WINBOOT.LOG anzeigen";
const char *const kHideCaption = "WINBOOT.LOG ausblenden";
const char *const kDeleted = "Datei c:\\winboot.log wurde gelöscht";

// Puts a value under HKEY_CURRENT_USER back as the test found it, or removes it.
class SavedUserValue {
 public:
  SavedUserValue(const char *key, const char *name) : key_(key), name_(name) {
    HKEY k;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &k) != ERROR_SUCCESS) return;
    DWORD size = 0;
    if (RegQueryValueExA(k, name, nullptr, &type_, nullptr, &size) == ERROR_SUCCESS) {
      data_.resize(size);
      existed_ = RegQueryValueExA(k, name, nullptr, &type_, data_.data(), &size) == ERROR_SUCCESS;
      data_.resize(size);
    }
    RegCloseKey(k);
  }
  ~SavedUserValue() {
    if (!existed_) {
      DeleteUserValue(key_.c_str(), name_.c_str());
      return;
    }
    HKEY k;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k,
                        nullptr) != ERROR_SUCCESS)
      return;
    RegSetValueExA(k, name_.c_str(), 0, type_, data_.data(), DWORD(data_.size()));
    RegCloseKey(k);
  }

 private:
  std::string key_, name_;
  DWORD type_ = 0;
  std::vector<BYTE> data_;
  bool existed_ = false;
};

std::string LogBatLines() {
  std::string text;
  for (const std::string &line : LogBatText()) text += line + "\r\n";
  return text;
}

bool Overlap(const RECT &a, const RECT &b) {
  RECT i;
  return IntersectRect(&i, &a, &b) != FALSE;
}

std::string Describe(const RECT &r) {
  return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) +
         "," + std::to_string(r.bottom) + ")";
}

POINT ScreenCentre(TControl *c) {
  RECT r;
  GetWindowRect(c->Handle(), &r);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

class Bootlog : public testing::Test {
 protected:
  void SetUp() override {
    DeleteUserValue(kSettings, "BSControl");  // the setting's default: enforce validity
    WriteTextFile(kAutoexec, "@echo off\r\nSET PATH=C:\\WINDOWS\r\n");
    RemoveIfExists(kLog);
  }
  void TearDown() override { Close(); }

  // Builds the window the way ModulCreate does: module state, form, host's settings,
  // show, language.  By default on Windows 98, where the log view is c:\winboot.log alone.
  TFormBootlog *Open(int language = 0, int os = 1, int mask = 1) {
    Close();
    form_.reset(OpenTipForm(language, os, mask));
    return form_.get();
  }
  void Close() {
    form_.reset();
    PumpMessages();
  }

  // A press and release inside the control, as a mouse gives them to its window.
  static void Press(TControl *c) { PressWithMouseMessages(c->Handle()); }

  // A real click of the mouse at the centre of the control's window on the screen.  Other
  // test programs share the display, so the window stays on top and the move to the point
  // travels in one batch with the press.
  void RealClick(TControl *c) {
    SetWindowPos(form_->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(form_->Handle());
    POINT p = ScreenCentre(c);
    SetCursorPos(p.x, p.y);
    PumpMessages();
    ASSERT_EQ(WindowFromPoint(p), c->Handle()) << "another window lies over " << c->Name;
    INPUT in[3] = {};
    for (INPUT &i : in) i.type = INPUT_MOUSE;
    in[0].mi.dx = LONG(p.x * 65536LL / GetSystemMetrics(SM_CXSCREEN)) + 1;
    in[0].mi.dy = LONG(p.y * 65536LL / GetSystemMetrics(SM_CYSCREEN)) + 1;
    in[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInputAndWait(c->Handle(), in, 3);
  }

  // Creation failed half way: reported once, and the window opens as not valid for the
  // system, so that OK cannot write an empty LOG.BAT; Info and Registry stay usable.
  void ExpectHalfBuiltWindowSavesNothing(TFormBootlog *f) {
    EXPECT_FALSE(ModulTipValid);
    for (TControl *c : {static_cast<TControl *>(f->HotSpeedButtonOK), static_cast<TControl *>(f->HotSpeedButtonUndo),
                        static_cast<TControl *>(f->T263_CheckBox), static_cast<TControl *>(f->T263_Memo)})
      EXPECT_FALSE(c->Enabled()) << c->Name;
    EXPECT_TRUE(f->HotSpeedButtonInfo->Enabled());
    EXPECT_TRUE(f->HotSpeedButtonRegistry->Enabled());
  }

  void ExpectBatchView(TFormBootlog *f) {
    EXPECT_EQ(f->T263_SpeedButton->Caption(), kShowCaption);
    EXPECT_TRUE(f->T263_Memo->Visible());
    EXPECT_FALSE(f->T263_MemoWinBootLog->Visible());
    EXPECT_TRUE(f->T263_CheckBox->Enabled());
    EXPECT_TRUE(f->HotSpeedButtonOK->Enabled());
    EXPECT_TRUE(f->HotSpeedButtonUndo->Enabled());
  }
  void ExpectLogView(TFormBootlog *f) {
    EXPECT_EQ(f->T263_SpeedButton->Caption(), kHideCaption);
    EXPECT_FALSE(f->T263_Memo->Visible());
    EXPECT_TRUE(f->T263_MemoWinBootLog->Visible());
    EXPECT_FALSE(f->T263_CheckBox->Enabled());
    EXPECT_FALSE(f->HotSpeedButtonOK->Enabled());
    EXPECT_FALSE(f->HotSpeedButtonUndo->Enabled());
  }
  // The log view leaves both log buttons visible, uncovered and usable.
  void ExpectLogButtonsReachable(TFormBootlog *f) {
    RECT view = f->T263_MemoWinBootLog->BoundsRect();
    for (TControl *b : {static_cast<TControl *>(f->T263_SpeedButton),
                        static_cast<TControl *>(f->T263_SpeedButtonDEL)}) {
      SCOPED_TRACE(b->Name);
      EXPECT_TRUE(b->Visible());
      EXPECT_TRUE(IsWindowVisible(b->Handle()));
      EXPECT_FALSE(Overlap(view, b->BoundsRect()))
          << "log view " << Describe(view) << " covers " << Describe(b->BoundsRect());
      // Nothing of the window itself lies over the button (other programs' windows may).
      POINT p = ScreenCentre(b);
      ScreenToClient(f->Handle(), &p);
      EXPECT_EQ(ChildWindowFromPointEx(f->Handle(), p, CWP_SKIPINVISIBLE), b->Handle());
    }
    EXPECT_TRUE(f->T263_SpeedButton->Enabled());
    // The log view stays inside the border strips and off the four image buttons.
    EXPECT_GE(view.left, f->PanelLeftBorder->BoundsRect().right);
    EXPECT_LE(view.right, f->PanelRightBorder->BoundsRect().left);
    EXPECT_GE(view.top, f->PanelTopBorder->BoundsRect().bottom);
    EXPECT_LE(view.bottom, f->PanelBottomBorder->BoundsRect().top);
    for (TControl *b : {f->HotSpeedButtonOK, f->HotSpeedButtonUndo, f->HotSpeedButtonInfo,
                        f->HotSpeedButtonRegistry})
      EXPECT_FALSE(Overlap(view, b->BoundsRect())) << b->Name;
  }

  SavedFile autoexec_{kAutoexec}, log_{kLog};
  SavedUserValue bsControl_{kSettings, "BSControl"};
  BoxRecorder boxes_;
  std::unique_ptr<TFormBootlog> form_;
};

// --- The form resource ----------------------------------------------------------------------

TEST_F(Bootlog, FormResourceAddsTheTipsControlsToTheTemplate) {
  ResetModuleState();
  ModulOsCode = 13;
  ModulValidOsMask = 4096;
  form_.reset(CreateForm<TFormBootlog>(nullptr));
  TFormBootlog *f = form_.get();
  EXPECT_TRUE(boxes_.boxes.empty());
  EXPECT_EQ(f->Caption(), "Rechnerstart in Datei festhalten");
  EXPECT_EQ(f->BorderStyle(), bsSizeable);
  EXPECT_TRUE(GetWindowLongA(f->Handle(), GWL_STYLE) & WS_THICKFRAME);
  EXPECT_EQ(f->ClientWidth(), 292);
  EXPECT_EQ(f->ClientHeight(), 426);
  struct Expected {
    TControl *control;
    RECT bounds;
    TAnchors anchors;
    int tabOrder;  // -1: takes no focus, has no place in the tab order
  } expected[] = {
      {f->T263_CheckBox, {20, 150, 270, 167}, akLeft | akTop, 4},
      {f->T263_Memo, {16, 176, 273, 322}, akLeft | akTop | akRight | akBottom, 2},
      {f->T263_MemoWinBootLog, {80, 228, 265, 317}, akLeft | akTop, 3},
      {f->T263_SpeedButton, {67, 328, 212, 349}, akLeft | akRight | akBottom, -1},
      {f->T263_SpeedButtonDEL, {67, 352, 212, 373}, akLeft | akRight | akBottom, -1},
      {f->HotSpeedButtonOK, {16, 382, 52, 418}, akLeft | akBottom, -1},
      {f->HotSpeedButtonUndo, {56, 382, 92, 418}, akLeft | akBottom, -1},
      {f->HotSpeedButtonInfo, {200, 382, 236, 418}, akRight | akBottom, -1},
      {f->HotSpeedButtonRegistry, {240, 382, 276, 418}, akRight | akBottom, -1},
  };
  for (const Expected &e : expected) {
    SCOPED_TRACE(e.control->Name);
    EXPECT_EQ(Describe(e.control->BoundsRect()), Describe(e.bounds));
    EXPECT_EQ(e.control->Anchors(), e.anchors);
    EXPECT_EQ(e.control->TabOrder(), e.tabOrder);
  }
  // The inherited controls with the places this window gives them or the template's.
  const std::vector<TControl *> tabOrder = {
      f->PanelRightBorder, f->PanelLeftBorder, f->T263_Memo,     f->T263_MemoWinBootLog, f->T263_CheckBox,
      f->StaticTextTitle,  f->MemoHelpUS,      f->PanelTopBorder, f->PanelBottomBorder,  f->MemoHelpD};
  EXPECT_EQ(f->TabList(), tabOrder);
  for (size_t i = 0; i < tabOrder.size(); ++i) EXPECT_EQ(tabOrder[i]->TabOrder(), int(i)) << tabOrder[i]->Name;

  EXPECT_EQ(f->T263_CheckBox->Caption(), "LOG.BAT in AUTOEXEC.BAT einf\xFCgen");
  TMemo *memo = f->T263_Memo;
  EXPECT_EQ(memo->Color(), TColor(16577261));
  EXPECT_FALSE(memo->ParentFont());
  EXPECT_EQ(memo->Font().Name(), "Courier");
  EXPECT_EQ(memo->Font().Height(), -13);
  EXPECT_EQ(memo->Font().Charset(), ANSI_CHARSET);
  LONG style = GetWindowLongA(memo->Handle(), GWL_STYLE);
  EXPECT_TRUE(style & ES_OEMCONVERT);
  EXPECT_EQ(style & (WS_HSCROLL | WS_VSCROLL), WS_HSCROLL | WS_VSCROLL);
  EXPECT_TRUE(style & ES_AUTOHSCROLL) << "no word wrap";
  EXPECT_FALSE(style & ES_READONLY);
  TMemo *log = f->T263_MemoWinBootLog;
  style = GetWindowLongA(log->Handle(), GWL_STYLE);
  EXPECT_TRUE(style & ES_READONLY);
  EXPECT_EQ(style & (WS_HSCROLL | WS_VSCROLL), WS_HSCROLL | WS_VSCROLL);
  EXPECT_TRUE(style & ES_AUTOHSCROLL) << "no word wrap";
  EXPECT_FALSE(log->Visible());
  for (TSpeedButton *b : {f->T263_SpeedButton, f->T263_SpeedButtonDEL}) {
    SCOPED_TRACE(b->Name);
    EXPECT_EQ(b->NumGlyphs(), 2);
    EXPECT_EQ(b->Glyph().Width(), 32);
    EXPECT_EQ(b->Glyph().Height(), 16);
  }
  EXPECT_EQ(f->T263_SpeedButton->Caption(), kShowCaption);
  EXPECT_EQ(f->T263_SpeedButtonDEL->Caption(), "WINBOOT.LOG l\xF6schen");
}

// --- What the window reads at creation ---------------------------------------------------

// Title, both help memos, Info and Registry stay usable; everything else is disabled.
void ExpectDisabledAsUnsupported(TFormBootlog *f) {
  const std::vector<TComponent *> usable = {f->StaticTextTitle, f->MemoHelpD, f->MemoHelpUS,
                                            f->HotSpeedButtonInfo, f->HotSpeedButtonRegistry};
  int controls = 0;
  for (int i = 0; i < f->ComponentCount(); ++i) {
    auto *c = dynamic_cast<TControl *>(f->Components(i));
    if (!c) continue;
    ++controls;
    bool expected = std::find(usable.begin(), usable.end(), c) != usable.end();
    EXPECT_EQ(c->Enabled(), expected) << c->Name;
    EXPECT_EQ(IsWindowEnabled(c->Handle()) != FALSE, expected) << c->Name;
  }
  EXPECT_EQ(controls, 16);
  EXPECT_FALSE(ModulTipValid);
  // The set-up of the tip did not run.
  EXPECT_EQ(f->T263_Memo->Lines().Count(), 0);
  EXPECT_FALSE(f->T263_CheckBox->Checked());
  EXPECT_EQ(f->T263_CheckBox->Tag, 0);
}

TEST_F(Bootlog, SystemOutsideMaskDisablesAllButHelpInfoAndRegistry) {
  WriteTextFile(kAutoexec, "call c:\\log.bat\r\n");
  WriteTextFile(kLog, "Eintrag\r\n");
  TFormBootlog *f = Open(0, 13, 0);
  ExpectDisabledAsUnsupported(f);
  EXPECT_TRUE(boxes_.boxes.empty());
}

TEST_F(Bootlog, MissingAutoexecWithSettingOnDisablesTheWindow) {
  RemoveIfExists(kAutoexec);
  WriteTextFile(kLog, "Eintrag\r\n");
  for (bool stored : {false, true}) {
    SCOPED_TRACE(stored ? "BSControl = 1" : "BSControl missing");
    if (stored) SetUserDword(kSettings, "BSControl", 1);
    boxes_.boxes.clear();
    TFormBootlog *f = Open();
    EXPECT_EQ(ModulOsBit, 0);
    ExpectDisabledAsUnsupported(f);
    EXPECT_TRUE(boxes_.boxes.empty()) << boxes_.boxes.size() << " boxes";
    EXPECT_FALSE(FileExists(kAutoexec)) << "a missing AUTOEXEC.BAT must not be created";
  }
}

TEST_F(Bootlog, MissingAutoexecWithSettingOffReportsTheOpenError) {
  RemoveIfExists(kAutoexec);
  SetUserDword(kSettings, "BSControl", 0);
  TFormBootlog *f = Open();
  EXPECT_EQ(ModulOsBit, 0);
  ASSERT_EQ(boxes_.boxes.size(), 1u);
  EXPECT_EQ(boxes_.boxes[0].kind, TMessageBoxRequest::Error);
  EXPECT_EQ(boxes_.boxes[0].text.rfind("Datei c:\\AUTOEXEC.BAT kann nicht geöffnet werden.", 0), 0u)
      << boxes_.boxes[0].text;
  EXPECT_EQ(f->T263_Memo->Lines().Count(), 0);
  EXPECT_FALSE(f->T263_CheckBox->Checked());
  EXPECT_EQ(f->T263_CheckBox->Tag, 0);
  ExpectHalfBuiltWindowSavesNothing(f);
  EXPECT_FALSE(FileExists(kAutoexec));
}

TEST_F(Bootlog, UnreadableAutoexecReportsTheOpenError) {
  WriteTextFile(kAutoexec, "call c:\\log.bat\r\n");
  HeldOpen held(kAutoexec);
  ASSERT_TRUE(held.ok());
  TFormBootlog *f = Open();
  ASSERT_EQ(boxes_.boxes.size(), 1u);
  EXPECT_EQ(boxes_.boxes[0].kind, TMessageBoxRequest::Error);
  EXPECT_EQ(boxes_.boxes[0].type, mtError);
  EXPECT_EQ(boxes_.boxes[0].text.rfind("Datei c:\\AUTOEXEC.BAT kann nicht geöffnet werden.", 0), 0u)
      << boxes_.boxes[0].text;
  EXPECT_EQ(f->T263_Memo->Lines().Count(), 0);
  EXPECT_FALSE(f->T263_CheckBox->Checked());
  EXPECT_EQ(f->T263_CheckBox->Tag, 0);
  ExpectHalfBuiltWindowSavesNothing(f);
  EXPECT_TRUE(f->Visible());
}

TEST_F(Bootlog, ALineCallingALogBatChecksTheBox) {
  struct Case {
    const char *autoexec;
    bool hooked;
  } cases[] = {
      {"", false},
      {"@echo off\r\nSET PATH=C:\\WINDOWS\r\nWIN\r\n", false},
      {"@echo off\r\n@call D:\\TOOLS\\LOG.BAT\r\n", true},
      {"REM mylog.bat wird nicht mehr gebraucht\r\nCALL CATALOG.BAT\r\n", false},
      {"call c:\\log.bat\r\nREM sonst nichts\r\nWIN\r\n", true},
      {"call c:\\Log.Bat", true},          // last line without a line break
      {"@echo off\nCALL LOG.BAT\n", true},  // line feeds alone
      {"call c:\\log.bak\r\nREM log. bat\r\nlogbat\r\n", false},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << "AUTOEXEC.BAT: \"" << c.autoexec << "\"");
    WriteTextFile(kAutoexec, c.autoexec);
    TFormBootlog *f = Open();
    EXPECT_TRUE(boxes_.boxes.empty());
    EXPECT_TRUE(ModulTipValid);
    EXPECT_EQ(f->T263_CheckBox->Checked(), c.hooked);
    EXPECT_EQ(f->T263_CheckBox->Tag, c.hooked ? 1 : 0);
    EXPECT_EQ(f->T263_Memo->Lines().Text(), LogBatLines());
    EXPECT_EQ(ReadTextFile(kAutoexec), c.autoexec) << "reading must not change the file";
  }
}

TEST_F(Bootlog, LogButtonsFollowTheLogFile) {
  TFormBootlog *f = Open();
  EXPECT_FALSE(f->T263_SpeedButton->Enabled());
  EXPECT_FALSE(f->T263_SpeedButtonDEL->Enabled());
  EXPECT_FALSE(IsWindowEnabled(f->T263_SpeedButton->Handle()));
  WriteTextFile(kLog, "");
  f = Open();
  EXPECT_TRUE(f->T263_SpeedButton->Enabled());
  EXPECT_TRUE(f->T263_SpeedButtonDEL->Enabled());
  EXPECT_TRUE(IsWindowEnabled(f->T263_SpeedButtonDEL->Handle()));
  EXPECT_TRUE(boxes_.boxes.empty());
}

// --- Language ------------------------------------------------------------------------------

TEST_F(Bootlog, OnlyTheCheckBoxFollowsTheLanguage) {
  WriteTextFile(kLog, "Eintrag\r\n");
  TFormBootlog *f = Open(1);
  EXPECT_EQ(f->T263_CheckBox->Caption(), "Insert LOG.BAT to AUTOEXEC.BAT");
  EXPECT_EQ(WindowText(f->T263_CheckBox->Handle()), "Insert LOG.BAT to AUTOEXEC.BAT");
  EXPECT_EQ(f->T263_SpeedButton->Caption(), kShowCaption);
  EXPECT_EQ(f->T263_SpeedButtonDEL->Caption(), "WINBOOT.LOG löschen");
  EXPECT_EQ(f->Caption(), "Rechnerstart in Datei festhalten");
  Press(f->T263_SpeedButton);
  EXPECT_EQ(f->T263_SpeedButton->Caption(), kHideCaption);
  Press(f->T263_SpeedButtonDEL);
  EXPECT_EQ(boxes_.Texts(), std::vector<std::string>{kDeleted});
  for (int language : {0, 2, -1, 1, 0}) {
    f->Sprache(language);
    EXPECT_EQ(f->T263_CheckBox->Caption(),
              language == 1 ? "Insert LOG.BAT to AUTOEXEC.BAT" : "LOG.BAT in AUTOEXEC.BAT einf\xFCgen")
        << "language " << language;
    EXPECT_EQ(ModulLanguage, language);
  }
}

// --- Undo ----------------------------------------------------------------------------------

TEST_F(Bootlog, UndoRestoresTheTextAndUnchecksButKeepsTheTag) {
  const std::string autoexec = "@call D:\\TOOLS\\LOG.BAT\r\n";
  WriteTextFile(kAutoexec, autoexec);
  TFormBootlog *f = Open();
  ASSERT_EQ(f->T263_CheckBox->Tag, 1);
  f->T263_Memo->Lines().SetText("@echo off\r\nrem geändert\r\n");
  EXPECT_FALSE(ModulUndoFlag);
  Press(f->HotSpeedButtonUndo);
  EXPECT_EQ(f->T263_Memo->Lines().Count(), 5);
  EXPECT_EQ(f->T263_Memo->Lines().Text(), LogBatLines());
  EXPECT_FALSE(f->T263_CheckBox->Checked());
  EXPECT_EQ(f->T263_CheckBox->Tag, 1);
  EXPECT_TRUE(ModulUndoFlag);
  EXPECT_EQ(ReadTextFile(kAutoexec), autoexec);
  EXPECT_TRUE(boxes_.boxes.empty());

  // Without a hook: the box the user checked is cleared, the Tag stays 0.
  WriteTextFile(kAutoexec, "WIN\r\n");
  f = Open();
  f->T263_CheckBox->SetChecked(true);
  f->T263_Memo->Lines().SetText("");
  Press(f->HotSpeedButtonUndo);
  EXPECT_EQ(f->T263_Memo->Lines().Text(), LogBatLines());
  EXPECT_FALSE(f->T263_CheckBox->Checked());
  EXPECT_EQ(f->T263_CheckBox->Tag, 0);
}

// --- The log view --------------------------------------------------------------------------

TEST_F(Bootlog, ShowHideAndShowAgainReadsTheLogAfresh) {
  WriteTextFile(kLog, "Eintrag 1\r\n");
  TFormBootlog *f = Open();
  f->T263_Memo->Lines().SetText("rem eigener Text\r\n");
  ExpectBatchView(f);

  Press(f->T263_SpeedButton);
  ExpectLogView(f);
  EXPECT_EQ(f->T263_MemoWinBootLog->Lines().Text(), "Eintrag 1\r\n");
  EXPECT_TRUE(GetWindowLongA(f->T263_MemoWinBootLog->Handle(), GWL_STYLE) & ES_READONLY);
  ExpectLogButtonsReachable(f);

  Press(f->T263_SpeedButton);
  ExpectBatchView(f);
  EXPECT_EQ(f->T263_Memo->Lines().Text(), "rem eigener Text\r\n");

  WriteTextFile(kLog, "Eintrag 1\r\nEintrag 2\r\n");
  Press(f->T263_SpeedButton);
  ExpectLogView(f);
  EXPECT_EQ(f->T263_MemoWinBootLog->Lines().Text(), "Eintrag 1\r\nEintrag 2\r\n");
  Press(f->T263_SpeedButton);
  ExpectBatchView(f);
  EXPECT_TRUE(boxes_.boxes.empty());
}

TEST_F(Bootlog, LogViewLeavesBothLogButtonsReachableByMouse) {
  WriteTextFile(kLog, "Eintrag\r\n");
  TFormBootlog *f = Open();
  f->SetBounds(900, 400, 300, 460);  // away from where the other programs put theirs
  RealClick(f->T263_SpeedButton);
  ExpectLogView(f);
  ExpectLogButtonsReachable(f);
  // A larger window moves the buttons down and stretches the view; still no overlap.
  f->SetHeight(f->Height() + 120);
  f->SetWidth(f->Width() + 60);
  PumpMessages();
  ExpectLogButtonsReachable(f);
  RealClick(f->T263_SpeedButton);
  ExpectBatchView(f);
  // The batch text followed the resize while it was hidden.
  EXPECT_LT(f->T263_Memo->BoundsRect().bottom, f->T263_SpeedButton->Top());
  EXPECT_EQ(f->T263_Memo->BoundsRect().right, f->T263_MemoWinBootLog->BoundsRect().right);
  RealClick(f->T263_SpeedButton);
  ExpectLogView(f);
  RealClick(f->T263_SpeedButtonDEL);
  ExpectBatchView(f);
  EXPECT_EQ(boxes_.Texts(), std::vector<std::string>{kDeleted});
  EXPECT_FALSE(FileExists(kLog));
}

TEST_F(Bootlog, LogRemovedBeforeShowingReportsTheOpenError) {
  WriteTextFile(kLog, "Eintrag\r\n");
  TFormBootlog *f = Open();
  RemoveIfExists(kLog);
  Press(f->T263_SpeedButton);
  ASSERT_EQ(boxes_.boxes.size(), 1u);
  EXPECT_EQ(boxes_.boxes[0].kind, TMessageBoxRequest::Error);
  EXPECT_EQ(boxes_.boxes[0].text.rfind("Datei c:\\winboot.log kann nicht geöffnet werden.", 0), 0u)
      << boxes_.boxes[0].text;
  ExpectBatchView(f);
  EXPECT_EQ(f->T263_MemoWinBootLog->Lines().Count(), 0);
  EXPECT_EQ(f->T263_Memo->Lines().Text(), LogBatLines());
}

// --- Deleting the log ----------------------------------------------------------------------

TEST_F(Bootlog, DeleteRemovesTheLogAndDisablesShowOnly) {
  WriteTextFile(kLog, "Eintrag\r\n");
  TFormBootlog *f = Open();
  Press(f->T263_SpeedButtonDEL);
  EXPECT_FALSE(FileExists(kLog));
  EXPECT_EQ(boxes_.Texts(), std::vector<std::string>{kDeleted});
  EXPECT_EQ(boxes_.boxes[0].text, "Datei c:\\winboot.log wurde gel\xF6scht");
  EXPECT_FALSE(f->T263_SpeedButton->Enabled());
  EXPECT_TRUE(f->T263_SpeedButtonDEL->Enabled());
  ExpectBatchView(f);
  // A disabled show button cannot open the view of the deleted log.
  Press(f->T263_SpeedButton);
  ExpectBatchView(f);
  EXPECT_EQ(boxes_.boxes.size(), 1u);
}

TEST_F(Bootlog, DeleteInTheLogViewReturnsToTheBatchView) {
  WriteTextFile(kLog, "Eintrag\r\n");
  TFormBootlog *f = Open();
  f->T263_Memo->Lines().SetText("rem eigener Text\r\n");
  Press(f->T263_SpeedButton);
  ExpectLogView(f);
  Press(f->T263_SpeedButtonDEL);
  EXPECT_FALSE(FileExists(kLog));
  EXPECT_EQ(boxes_.Texts(), std::vector<std::string>{kDeleted});
  ExpectBatchView(f);
  EXPECT_EQ(f->T263_Memo->Lines().Text(), "rem eigener Text\r\n");
  EXPECT_FALSE(f->T263_SpeedButton->Enabled());
  EXPECT_TRUE(f->T263_SpeedButtonDEL->Enabled());
}

// A failed deletion says so in German, never claims success, and changes no button.
void ExpectFailedDelete(const BoxRecorder &boxes, TFormBootlog *f) {
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text.rfind("Datei c:\\winboot.log konnte nicht gelöscht werden.", 0), 0u)
      << boxes.boxes[0].text;
  EXPECT_FALSE(boxes.Saw(kDeleted));
  EXPECT_TRUE(f->T263_SpeedButton->Enabled());
  EXPECT_TRUE(f->T263_SpeedButtonDEL->Enabled());
}

TEST_F(Bootlog, DeleteOfAReadOnlyLogFails) {
  WriteTextFile(kLog, "Eintrag\r\n");
  TFormBootlog *f = Open(1);  // the message stays German in English
  SetFileAttributesA(kLog, FILE_ATTRIBUTE_READONLY);
  Press(f->T263_SpeedButtonDEL);
  EXPECT_TRUE(FileExists(kLog));
  ExpectFailedDelete(boxes_, f);
  ExpectBatchView(f);
}

TEST_F(Bootlog, DeleteOfALogHeldOpenFails) {
  WriteTextFile(kLog, "Eintrag\r\n");
  TFormBootlog *f = Open();
  Press(f->T263_SpeedButton);
  {
    HeldOpen held(kLog);
    ASSERT_TRUE(held.ok());
    Press(f->T263_SpeedButtonDEL);
  }
  EXPECT_TRUE(FileExists(kLog));
  ExpectFailedDelete(boxes_, f);
  // The view the user was in stays.
  ExpectLogView(f);
  EXPECT_EQ(f->T263_MemoWinBootLog->Lines().Text(), "Eintrag\r\n");
}

TEST_F(Bootlog, DeleteOfALogAlreadyGoneFails) {
  WriteTextFile(kLog, "Eintrag\r\n");
  TFormBootlog *f = Open();
  RemoveIfExists(kLog);
  Press(f->T263_SpeedButtonDEL);
  ExpectFailedDelete(boxes_, f);
}

// --- The starts Windows records itself ---------------------------------------------------

// The System event log fed to the tip: records, oldest first, handed out newest first (the
// tip reads backwards), as whole records that fit the caller's buffer.
std::vector<std::string> g_records;
size_t g_served = 0;
DWORD g_openError = 0;
HANDLE WINAPI FedOpen(LPCSTR, LPCSTR source) {
  g_served = 0;
  SetLastError(g_openError);
  return g_openError || strcmp(source, "System") ? nullptr : HANDLE(&g_records);
}
BOOL WINAPI FedRead(HANDLE, DWORD flags, DWORD, LPVOID buffer, DWORD size, DWORD *read, DWORD *needed) {
  EXPECT_EQ(flags, DWORD(EVENTLOG_SEQUENTIAL_READ | EVENTLOG_BACKWARDS_READ));
  auto next = [] { return g_records[g_records.size() - 1 - g_served]; };
  for (*read = 0; g_served < g_records.size() && *read + next().size() <= size; ++g_served) {
    memcpy(static_cast<char *>(buffer) + *read, next().data(), next().size());
    *read += DWORD(next().size());
  }
  *needed = !*read && g_served < g_records.size() ? DWORD(next().size()) : 0;
  SetLastError(*needed ? ERROR_INSUFFICIENT_BUFFER : ERROR_HANDLE_EOF);
  return *read != 0;
}
BOOL WINAPI FedClose(HANDLE) { return TRUE; }
// Central European time: daylight saving from the last Sunday of March to that of October.
BOOL WINAPI CentralEurope(LPTIME_ZONE_INFORMATION, LPSYSTEMTIME utc, LPSYSTEMTIME local) {
  TIME_ZONE_INFORMATION zone = {-60, {}, {0, 10, 0, 5, 3, 0, 0, 0}, 0, {}, {0, 3, 0, 5, 2, 0, 0, 0}, -60};
  return SystemTimeToTzSpecificLocalTime(&zone, utc, local);
}
void Feed(std::vector<std::string> records, DWORD openError = 0) {
  g_records = std::move(records);
  g_served = 0;
  g_openError = openError;
  EventLogCalls() = {FedOpen, FedRead, FedClose, CentralEurope};
}

// A record as the service writes it at a moment (UTC): the fixed part, the source and
// computer names, data bytes, the length again.
std::string Record(WORD event, const char *source, WORD y, WORD mo, WORD d, WORD h, WORD mi, size_t data = 0) {
  SYSTEMTIME t = {y, mo, 0, d, h, mi, 0, 0};
  ULARGE_INTEGER f;
  SystemTimeToFileTime(&t, reinterpret_cast<FILETIME *>(&f));
  EVENTLOGRECORD r = {};
  r.TimeGenerated = DWORD(f.QuadPart / 10000000 - 11644473600ULL);
  r.EventID = 0x80000000u | event;  // severity bits above the number
  std::string tail = source + std::string(1, '\0') + "PC" + std::string(data + 5, '\0');
  r.Length = DWORD(sizeof r + tail.size());
  return std::string(reinterpret_cast<char *>(&r), sizeof r) + tail;
}
// A start's line: the local date and time in the user's formats.
std::string Start(WORD y, WORD mo, WORD d, WORD h, WORD mi, const char *mark = "") {
  SYSTEMTIME t = {y, mo, 0, d, h, mi, 0, 0};
  char date[80], time[80];
  GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &t, nullptr, date, 80);
  GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &t, nullptr, time, 80);
  return std::string(date) + " " + time + mark + "\r\n";
}
const std::string kHeadingDE = "Rechnerstarts, die Windows selbst festgehalten hat:\r\n";

TEST(SystemStarts, RecordsBecomeOneLinePerStartOldestFirst) {
  // Starts in winter and summer (+1 and +2 hours), one after a crash, one at the turn of
  // the year; shutdowns, other events and another source's 6005 between them.
  const std::vector<std::string> busy = {
      Record(6009, "EventLog", 2003, 1, 15, 7, 0), Record(6005, "EventLog", 2003, 1, 15, 7, 0),
      Record(6006, "EventLog", 2003, 1, 15, 17, 0), Record(6005, "EventLog", 2003, 7, 1, 6, 0),
      Record(6008, "EventLog", 2003, 7, 1, 6, 1),   Record(6005, "Sicherung", 2003, 9, 1, 6, 0),
      Record(7036, "Dienste", 2003, 9, 1, 6, 0),    Record(6005, "EVENTLOG", 2003, 12, 31, 23, 30)};
  const std::string newest = Start(2003, 7, 1, 8, 0, "  (after an unexpected shutdown)") + Start(2004, 1, 1, 0, 30);
  struct Case {
    std::vector<std::string> records;
    DWORD openError;
    int language;
    size_t room;
    std::string text;
  } cases[] = {
      {busy, 0, 0, kLogViewLimit,
       Start(2003, 1, 15, 8, 0) + Start(2003, 7, 1, 8, 0, "  (nach unerwartetem Herunterfahren)") + Start(2004, 1, 1, 0, 30)},
      {busy, 0, 1, newest.size(), newest},  // room for the newest two only
      {{Record(6005, "EventLog", 2004, 2, 29, 11, 0, 100000)}, 0, 0, kLogViewLimit, Start(2004, 2, 29, 12, 0)},
      {{}, 0, 1, kLogViewLimit, "No start of the computer is recorded in the System event log.\r\n"},
      {busy, ERROR_ACCESS_DENIED, 0, kLogViewLimit,
       "Das Ereignisprotokoll System kann nicht gelesen werden. " + SysErrorMessage(ERROR_ACCESS_DENIED) + "\r\n"},
      };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.text);
    Feed(c.records, c.openError);
    TSystemStarts starts = ReadSystemStarts(c.language, c.room);
    EXPECT_EQ(starts.Text, c.text);
    EXPECT_EQ(starts.OlderLeftOut, c.room < kLogViewLimit);
  }
  EventLogCalls() = SystemEventLogCalls();
}

// A long winboot.log and years of starts: each part keeps its newest lines, at least half
// the view each, and says in its first line that older ones are left out.
TEST(SystemStarts, LongLogAndManyStartsShareTheView) {
  std::string log;
  for (int i = 0; i < 9000; ++i) log += "Eintrag " + std::to_string(i) + "\r\n";
  TSystemStarts starts{log, true};
  std::string text = LogViewWithStarts(&log, starts, 0);
  EXPECT_LE(text.size(), kLogViewLimit);
  EXPECT_EQ(text.rfind("(Ältere Einträge", 0), 0u);
  size_t heading = text.find("Eintrag 8999\r\n\r\nRechnerstarts, die Windows selbst festgehalten hat (ältere");
  EXPECT_GT(heading, kLogViewLimit / 2 - 50);
  EXPECT_EQ(text.substr(text.size() - 14), "Eintrag 8999\r\n");
  starts = {"Start\r\n", false};
  EXPECT_EQ(LogViewWithStarts(nullptr, starts, 1), "Starts recorded by Windows itself:\r\nStart\r\n");
}

// On Windows XP the view shows Windows' own starts, with or without c:\winboot.log, and
// Delete takes only the file.
TEST_F(Bootlog, OnXpTheViewShowsTheStartsWindowsRecorded) {
  std::vector<std::string> records;
  for (WORD day = 1; day <= 28; ++day) records.push_back(Record(6005, "EventLog", 2003, 2, day, 7, 0));
  Feed(records);
  TFormBootlog *f = Open(0, 13, 4096);
  EXPECT_TRUE(f->T263_SpeedButton->Enabled());
  EXPECT_FALSE(f->T263_SpeedButtonDEL->Enabled());
  EXPECT_EQ(g_served, 0u) << "the System log is read when the view is shown, not before";
  Press(f->T263_SpeedButton);
  ExpectLogView(f);
  std::string starts = kHeadingDE;
  for (WORD day = 1; day <= 28; ++day) starts += Start(2003, 2, day, 8, 0);
  EXPECT_EQ(f->T263_MemoWinBootLog->Lines().Text(), starts);
  EXPECT_GT(SendMessageA(f->T263_MemoWinBootLog->Handle(), EM_GETFIRSTVISIBLELINE, 0, 0), 0) << "newest in sight";

  WriteTextFile(kLog, "Eintrag 1\r\n");
  f = Open(0, 13, 4096);
  Press(f->T263_SpeedButton);
  EXPECT_EQ(f->T263_MemoWinBootLog->Lines().Text(), "Eintrag 1\r\n\r\n" + starts);
  Press(f->T263_SpeedButtonDEL);
  EXPECT_EQ(boxes_.Texts(), std::vector<std::string>{kDeleted});
  ExpectLogView(f);
  EXPECT_EQ(f->T263_MemoWinBootLog->Lines().Text(), starts);
  EXPECT_TRUE(f->T263_SpeedButton->Enabled());
  EXPECT_FALSE(f->T263_SpeedButtonDEL->Enabled());

  // Wine's own System log reads as empty: one line says so.
  EventLogCalls() = SystemEventLogCalls();
  f = Open(0, 13, 4096);
  Press(f->T263_SpeedButton);
  EXPECT_EQ(f->T263_MemoWinBootLog->Lines().Text(),
            kHeadingDE + "Im Ereignisprotokoll System ist kein Rechnerstart verzeichnet.\r\n");
}

}  // namespace
