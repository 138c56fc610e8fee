#include "bootlog/BootlogForm.h"

#include <cctype>

#include "bootlog/FileReplace.h"
#include "folderselect/SelectDirDlg.h"
#include "template/ModulState.h"
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

std::string LogBatPath(const std::string &Folder) { return IncludeTrailingBackslash(Folder) + "LOG.BAT"; }

namespace {
// One name of a DOS path: 1 to 8 characters, then at most one dot and 1 to 3 more, none
// of them a blank or a character DOS keeps for itself.
bool IsDosName(const std::string &name) {
  size_t dot = name.find('.');
  std::string base = name.substr(0, dot);
  std::string ext = dot == std::string::npos ? std::string() : name.substr(dot + 1);
  if (base.empty() || base.size() > 8 || ext.size() > 3) return false;
  if (dot != std::string::npos && ext.empty()) return false;
  for (char c : base + ext) {
    auto u = static_cast<unsigned char>(c);
    if (u <= ' ' || u == 0x7F || std::string("\"*+,./:;<=>?[\\]|").find(c) != std::string::npos)
      return false;
  }
  return true;
}

// Characters beyond ASCII as DOS reads them: in the OEM code page.
std::string ToDosCodePage(const std::string &text) {
  std::string oem = text;
  if (!oem.empty()) CharToOemBuffA(text.c_str(), &oem[0], DWORD(text.size()));
  return oem;
}
}  // namespace

bool IsPlainDosPath(const std::string &Path) {
  if (Path.size() < 2 || !std::isalpha(static_cast<unsigned char>(Path[0])) || Path[1] != ':')
    return false;
  std::string rest = Path.substr(2);
  if (rest.empty() || rest == "\\") return true;
  if (rest[0] != '\\') return false;
  if (rest.back() == '\\') rest.pop_back();
  size_t start = 1;
  for (;;) {
    size_t end = rest.find('\\', start);
    if (!IsDosName(rest.substr(start, end == std::string::npos ? std::string::npos : end - start)))
      return false;
    if (end == std::string::npos) return true;
    start = end + 1;
  }
}

std::string HookLine(const std::string &Folder) {
  std::string dosFolder = Folder;
  if (!IsPlainDosPath(dosFolder)) {
    char shortPath[MAX_PATH] = {0};
    DWORD n = FileCalls().GetShortPathNameA(Folder.c_str(), shortPath, sizeof shortPath);
    dosFolder = n > 0 && n < sizeof shortPath ? std::string(shortPath, n) : std::string();
    if (!IsPlainDosPath(dosFolder))
      throw EFCreateError("Datei " + BootDriveRoot() + "AUTOEXEC.BAT wurde nicht geändert. Das "
                          "Verzeichnis " + Folder + " hat keinen kurzen Namen (8.3), unter dem "
                          "LOG.BAT beim Rechnerstart aufgerufen werden kann.");
  }
  return "@call " + ToDosCodePage(LogBatPath(dosFolder));
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
  // An earlier save cut short by a crash or power loss may have left the old AUTOEXEC.BAT
  // under its backup name, or a half-written new one beside it.
  RecoverInterruptedReplace(AutoexecPath());
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
  TStringList autoexec;
  autoexec.LoadFromFile(AutoexecPath());

  std::string folder;
  bool chosen = ChooseDirectory(folder, TChooseDirOptions(), 1000);
  if (chosen) {
    ReplaceFileContents(LogBatPath(folder), T263_Memo->Lines().Text());
    ShowMessage("Datei LOG.BAT wurde im Verzeichnis " + folder + " erstellt !");
  }

  if (T263_CheckBox->Checked()) {
    // A hook is added once, and only for a LOG.BAT that was written: after a cancelled
    // dialog it would call a file that is not there.
    if (T263_CheckBox->Tag == 0 && chosen) {
      std::string hook = HookLine(folder);
      // A DOS end-of-file mark stays last, or the start-up interpreter never reads the
      // hook; one that ends the last line's text goes on a line of its own first.
      int at = autoexec.Count();
      if (at > 0 && autoexec[at - 1].size() > 1 && autoexec[at - 1].back() == '\x1A') {
        std::string last = autoexec[at - 1];
        autoexec.Delete(at - 1);
        autoexec.Insert(at - 1, last.substr(0, last.size() - 1));
        autoexec.Insert(at++, "\x1A");
      }
      if (at > 0 && autoexec[at - 1] == "\x1A") --at;
      autoexec.Insert(at, hook);
      ReplaceFileContents(AutoexecPath(), autoexec.Text());
      T263_CheckBox->Tag = 1;
    }
  } else {
    for (int i = autoexec.Count() - 1; i >= 0; --i)
      if (IsLogBatHook(autoexec[i])) autoexec.Delete(i);
    ReplaceFileContents(AutoexecPath(), autoexec.Text());
    T263_CheckBox->Tag = 0;
  }

  TfrmTippTemplate::HotSpeedButtonOKClick(Sender);
  NeuStart();
}
