#include "bootlog/BootlogForm.h"

#include "bootlog/FileReplace.h"
#include "bootlog/StartList.h"
#include "bootlog/SystemStarts.h"
#include "folderselect/SelectDirDlg.h"
#include "template/ModulState.h"
#include "template/OsEditions.h"
#include "toolkit/Dialogs.h"

namespace {
const char *const kShowCaption = "WINBOOT.LOG anzeigen";
const char *const kHideCaption = "WINBOOT.LOG ausblenden";
}  // namespace

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

static std::string WinbootLogPath() { return BootDriveRoot() + "winboot.log"; }

std::string LogViewText(const std::string &Log, int Language, size_t Limit) {
  TStringList lines;
  lines.SetText(Log);
  std::string text = lines.Text();
  if (text.size() <= Limit) return text;
  std::string head = Language == 1 ? "(Older entries are not shown here; the file still holds them.)\r\n"
                                   : "(Ältere Einträge werden hier nicht angezeigt; die Datei enthält sie weiterhin.)\r\n";
  size_t from = text.size() - (Limit - head.size());
  // From the start of the first whole line that fits; a last line longer than the view
  // is shown from where it fits.
  if (text[from - 1] != '\n') {
    size_t next = text.find('\n', from);
    if (next != std::string::npos && next + 1 < text.size()) from = next + 1;
  }
  return head + text.substr(from);
}

std::string AutoexecIgnoredNotice(int Language) { return AutoexecIgnoredNotice(Language, ModulOsCode); }

std::string AutoexecIgnoredNotice(int Language, int OsCode) {
  if (StartsThroughStartList(OsCode))
    return Language == 1 ? "Please note: Windows ME does not carry out the commands in AUTOEXEC.BAT at start. "
                           "LOG.BAT is started through the system's start list (RunServices) instead."
                         : "Bitte beachten Sie: Windows ME führt die Befehle in der AUTOEXEC.BAT beim Start "
                           "nicht aus. LOG.BAT wird stattdessen über die Startliste (RunServices) gestartet.";
  return Language == 1 ? "Please note: this version of Windows does not carry out the commands in AUTOEXEC.BAT "
                         "at start, but records every start itself; the log view shows them."
                       : "Bitte beachten Sie: Diese Windows-Version führt die Befehle in der AUTOEXEC.BAT beim "
                         "Start nicht aus, hält aber jeden Rechnerstart selbst fest; die Anzeige zeigt sie.";
}

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
  // One text for the whole: the memo is drawn once.
  T263_Memo->Lines().Assign(LogBatText());
}

void TFormBootlog::FormCreate(TComponent *Sender) {
  setUpForSaving_ = false;
  TfrmTippTemplate::FormCreate(Sender);
  if (!ModulTipValid) return;
  // An earlier save cut short by a crash or power loss may have left the old AUTOEXEC.BAT
  // under its backup name, or a half-written new one beside it.
  try {
    RecoverInterruptedReplace(AutoexecPath());
  } catch (const EInOutError &e) {
    // Then there is no AUTOEXEC.BAT to hook into, as below; but the user hears of the copy.
    ShowMessage(e.Message());
  }
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
  // Where Windows records its starts itself, the view always has those to show.
  T263_SpeedButton->SetEnabled(logExists || RecordsItsOwnStarts(ModulOsCode));
  T263_SpeedButtonDEL->SetEnabled(logExists);
  setUpForSaving_ = true;
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
  // Room for all the view shows, where the system's default is less.
  SendMessageA(T263_MemoWinBootLog->Handle(), EM_LIMITTEXT, 0, 0);
  T263_MemoWinBootLog->SetText(LogViewContent());
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
  // The newest entries are the ones the log is opened for.
  T263_MemoWinBootLog->ScrollToEnd();
}

void TFormBootlog::T263_SpeedButtonDELClick(TComponent *) {
  if (!RemoveFile(WinbootLogPath())) {
    DWORD code = GetLastError();
    ShowMessage("Datei c:\\winboot.log konnte nicht gelöscht werden. " + SysErrorMessage(code));
    return;
  }
  // A deleted log cannot be shown any more, so its view closes; where Windows records its
  // starts itself, the view stays with those, and only Delete has nothing left to do.
  bool starts = RecordsItsOwnStarts(ModulOsCode);
  if (LogViewShown() && starts) {
    T263_MemoWinBootLog->SetText(LogViewContent());
    T263_MemoWinBootLog->ScrollToEnd();
  } else if (LogViewShown()) {
    ShowBatchView();
  }
  ShowMessage("Datei c:\\winboot.log wurde gelöscht");
  (starts ? T263_SpeedButtonDEL : T263_SpeedButton)->SetEnabled(false);
}

std::string TFormBootlog::LogViewContent() const {
  // The System log is read now, never when the window opens.
  bool starts = RecordsItsOwnStarts(ModulOsCode), hasLog = !starts || FileExists(WinbootLogPath());
  std::string log = hasLog ? ReadFileText(WinbootLogPath()) : std::string();
  if (!starts) return LogViewText(log, ModulLanguage);
  return LogViewWithStarts(hasLog ? &log : nullptr, ReadSystemStarts(ModulLanguage, kLogViewLimit), ModulLanguage);
}

void TFormBootlog::HotSpeedButtonOKClick(TComponent *Sender) {
  // A window not valid for the system, or whose set-up failed, shows an empty batch text
  // and knows nothing of AUTOEXEC.BAT: saving it would only destroy the user's files.
  if (!setUpForSaving_) return;

  // Read first, so that a missing or unreadable AUTOEXEC.BAT ends OK before any question.
  ReadFileText(AutoexecPath());

  std::string folder;
  bool chosen = ChooseDirectory(folder, TChooseDirOptions(), 1000);
  // A host that destroyed the window meanwhile has closed the tip: nothing is saved.
  if (!HandleAllocated()) return;
  if (chosen) {
    ReplaceFileContents(LogBatPath(folder), T263_Memo->Lines().Text());
    ShowMessage("Datei LOG.BAT wurde im Verzeichnis " + folder + " erstellt !");
  }

  // The change starts from AUTOEXEC.BAT as it is now: what the user or another program
  // wrote into it while the dialog was open stays.
  if (T263_CheckBox->Checked()) {
    // The hook calls the LOG.BAT just written; after a cancelled dialog, when none was
    // written, AUTOEXEC.BAT stays as it is.
    if (chosen) {
      std::string autoexec = ReadFileText(AutoexecPath());
      std::string hooked = AutoexecCallingFolder(autoexec, folder, HookLine);
      if (hooked != autoexec) ReplaceFileContents(AutoexecPath(), hooked);
      T263_CheckBox->Tag = 1;
    }
  } else {
    ReplaceFileContents(AutoexecPath(), AutoexecWithoutHooks(ReadFileText(AutoexecPath())));
    T263_CheckBox->Tag = 0;
  }
  UpdateStartListEntry(Tag, T263_CheckBox->Checked(), chosen, folder);
  // Told once what was done: the start list names LOG.BAT only for a folder chosen.
  if (T263_CheckBox->Checked() && IgnoresAutoexecCommands(Tag) && (chosen || !StartsThroughStartList(Tag)))
    ShowMessage(AutoexecIgnoredNotice(ModulLanguage));

  TfrmTippTemplate::HotSpeedButtonOKClick(Sender);
  NeuStart();
}
