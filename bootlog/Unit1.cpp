#include "bootlog/Unit1.h"

#include "module/ModulState.h"
#include "toolkit/Dialogs.h"

namespace {
const char *const kShowCaption = "WINBOOT.LOG anzeigen";
const char *const kHideCaption = "WINBOOT.LOG ausblenden";
}  // namespace

std::string BootDriveRoot() { return "c:\\"; }

const std::vector<std::string> &LogBatText() {
  static const std::vector<std::string> lines = {
      "@echo off",
      "echo ***** Protokolleintrag *****",
      "echo. | date | find /v \"Neues\" >> c:\\winboot.log",
      "echo. | time | find /v \"Neue\" >> c:\\winboot.log",
      "echo. >> c:\\winboot.log",
  };
  return lines;
}

bool IsLogBatHook(const std::string &line) {
  return LowerCase(line).find("log.bat") != std::string::npos;
}

static std::string AutoexecPath() { return BootDriveRoot() + "AUTOEXEC.BAT"; }
static std::string WinbootLogPath() { return BootDriveRoot() + "winboot.log"; }

TFormBootlog::TFormBootlog(TComponent *AOwner) : TfrmTippTemplate(AOwner) {}

void TFormBootlog::RegisterMethods() {
  TfrmTippTemplate::RegisterMethods();
  RegisterMethod("FormCreate", [this](TComponent *s) { FormCreate(s); });
  RegisterMethod("HotSpeedButtonUndoClick", [this](TComponent *s) { HotSpeedButtonUndoClick(s); });
  RegisterMethod("T263_SpeedButtonClick", [this](TComponent *s) { T263_SpeedButtonClick(s); });
  RegisterMethod("T263_SpeedButtonDELClick", [this](TComponent *s) { T263_SpeedButtonDELClick(s); });
  RegisterMethod("HotSpeedButtonOKClick", [this](TComponent *s) { HotSpeedButtonOKClick(s); });
}

void TFormBootlog::BindComponents() {
  TfrmTippTemplate::BindComponents();
  Bind(T263_Memo, "T263_Memo");
  Bind(T263_MemoWinBootLog, "T263_MemoWinBootLog");
  Bind(T263_CheckBox, "T263_CheckBox");
  Bind(T263_SpeedButton, "T263_SpeedButton");
  Bind(T263_SpeedButtonDEL, "T263_SpeedButtonDEL");
}

void TFormBootlog::Sprache(int Language) {
  TfrmTippTemplate::Sprache(Language);
  T263_CheckBox->SetCaption(ModulLanguage == 1 ? "Insert LOG.BAT to AUTOEXEC.BAT"
                                               : "LOG.BAT in AUTOEXEC.BAT einfügen");
}

void TFormBootlog::FillLogBatText() {
  T263_Memo->Lines().Clear();
  T263_Memo->Lines().BeginUpdate();
  T263_Memo->Lines().Assign(LogBatText());
  T263_Memo->Lines().EndUpdate();
}

void TFormBootlog::FormCreate(TComponent *Sender) {
  TfrmTippTemplate::FormCreate(Sender);
  if (!ModulTipValid) return;
  // Without an AUTOEXEC.BAT there is nothing to hook into: the tip does not apply.
  if (!FileExists(AutoexecPath())) {
    ModulOsBit = 0;
    ApplyValidityRule();
  }
  if (!ModulTipValid) return;
  T263_CheckBox->SetChecked(false);
  T263_CheckBox->Tag = 0;
  {
    TStringList autoexec;
    autoexec.LoadFromFile(AutoexecPath());
    for (int i = 0; i < autoexec.Count(); ++i)
      if (IsLogBatHook(autoexec[i])) {
        T263_CheckBox->SetChecked(true);
        T263_CheckBox->Tag = 1;
      }
  }
  FillLogBatText();
  bool logExists = FileExists(WinbootLogPath());
  T263_SpeedButton->SetEnabled(logExists);
  T263_SpeedButtonDEL->SetEnabled(logExists);
}

void TFormBootlog::HotSpeedButtonUndoClick(TComponent *Sender) {
  T263_CheckBox->SetChecked(false);
  FillLogBatText();
  TfrmTippTemplate::HotSpeedButtonUndoClick(Sender);
}

bool TFormBootlog::LogViewShown() const { return T263_SpeedButton->Caption() == kHideCaption; }

void TFormBootlog::ShowBatchView() {
  T263_MemoWinBootLog->Hide();
  T263_Memo->Show();
  T263_CheckBox->SetEnabled(true);
  HotSpeedButtonOK->SetEnabled(true);
  HotSpeedButtonUndo->SetEnabled(true);
  T263_SpeedButton->SetCaption(kShowCaption);
}

void TFormBootlog::T263_SpeedButtonClick(TComponent *) {
  if (LogViewShown()) {
    ShowBatchView();
    return;
  }
  T263_MemoWinBootLog->Lines().Clear();
  T263_MemoWinBootLog->Lines().LoadFromFile(WinbootLogPath());
  // The log takes the place of the check box and the batch text; the two log buttons
  // below it stay where they are, so the one that leaves the view is always at hand.
  RECT box = T263_CheckBox->BoundsRect(), memo = T263_Memo->BoundsRect();
  T263_MemoWinBootLog->SetAnchors(0);
  T263_MemoWinBootLog->SetBounds(memo.left, box.top, memo.right - memo.left, memo.bottom - box.top);
  T263_MemoWinBootLog->SetAnchors(akLeft | akTop | akRight | akBottom);
  T263_MemoWinBootLog->Show();
  T263_MemoWinBootLog->BringToFront();
  T263_Memo->Hide();
  T263_CheckBox->SetEnabled(false);
  HotSpeedButtonUndo->SetEnabled(false);
  HotSpeedButtonOK->SetEnabled(false);
  T263_SpeedButton->SetCaption(kHideCaption);
}

void TFormBootlog::T263_SpeedButtonDELClick(TComponent *) {
  if (!RemoveFile(WinbootLogPath())) {
    DWORD code = GetLastError();
    ShowMessage("Datei c:\\winboot.log konnte nicht gelöscht werden. " + SysErrorMessage(code));
    return;
  }
  // A deleted log cannot be shown any more, so its view closes.
  if (LogViewShown()) ShowBatchView();
  ShowMessage("Datei c:\\winboot.log wurde gelöscht");
  T263_SpeedButton->SetEnabled(false);
}

void TFormBootlog::HotSpeedButtonOKClick(TComponent *Sender) {
  TfrmTippTemplate::HotSpeedButtonOKClick(Sender);
}
