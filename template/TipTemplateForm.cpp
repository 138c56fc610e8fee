#include "template/TipTemplateForm.h"

#include <shellapi.h>

#include "OrvaneHelp.h"
#include "template/HostContract.h"
#include "template/ModulState.h"
#include "template/OsEditions.h"
#include "toolkit/ComponentClasses.h"
#include "toolkit/Dialogs.h"
#include "toolkit/Registry.h"
#include "toolkit/SystemActions.h"

namespace {

const char *const kSettingsKey = "SOFTWARE\\Orvane\\Tessaly 2000";
const char *const kRegeditKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Regedit";

std::string HelpText(int helpNr, int kind) {
  const char *text = GetHelpText(helpNr, kind);
  return text ? std::string(text) : std::string();
}

// Tells every top-level window, the tip's own included, as the host expects; each that
// answers has handled it when this returns.  A window that has stopped answering (a hung
// program anywhere on the desktop) costs at most kHungWindowWait and is then skipped,
// instead of stopping the host for good.
const UINT kHungWindowWait = 2000;

void BroadcastHostMessage(WPARAM command, LPARAM argument) {
  if (ModulMessageId == 0) return;
  DWORD_PTR answer = 0;
  SendMessageTimeoutA(HWND_BROADCAST, ModulMessageId, command, argument,
                      SMTO_NORMAL | SMTO_ABORTIFHUNG, kHungWindowWait, &answer);
}

}  // namespace

void MainTippUInitialization() {
  UINT id = RegisterWindowMessageA(kHostMessageName);
  if (id > 65535) RaiseRangeError();
  ModulMessageId = uint16_t(id);
}

TfrmTippTemplate::TfrmTippTemplate(TComponent *AOwner) : TForm(AOwner) {
  RegisterComponentClass("THotSpeedButton",
                         [](TComponent *owner) -> TComponent * { return new THotSpeedButton(owner); });
}

void TfrmTippTemplate::RegisterMethods() {
  RegisterMethod("FormCreate", [this](TComponent *s) { FormCreate(s); });
  RegisterMethod("FormShow", [this](TComponent *s) { FormShow(s); });
  RegisterMethod("Fensterwechseln1Click", [this](TComponent *s) { Fensterwechseln1Click(s); });
  RegisterMethod("HotSpeedButtonUndoClick", [this](TComponent *s) { HotSpeedButtonUndoClick(s); });
  RegisterMethod("HotSpeedButtonOKClick", [this](TComponent *s) { HotSpeedButtonOKClick(s); });
  RegisterMethod("HotSpeedButtonRegistryClick", [this](TComponent *s) { HotSpeedButtonRegistryClick(s); });
  RegisterMethod("HotSpeedButtonInfoClick", [this](TComponent *s) { HotSpeedButtonInfoClick(s); });
}

void TfrmTippTemplate::BindComponents() {
  Bind(PopupMenu1, "PopupMenu1");
  Bind(Fensterwechseln1, "Fensterwechseln1");
  Bind(ImageList1, "ImageList1");
  Bind(PanelRightBorder, "PanelRightBorder");
  Bind(PanelLeftBorder, "PanelLeftBorder");
  Bind(PanelTopBorder, "PanelTopBorder");
  Bind(PanelBottomBorder, "PanelBottomBorder");
  Bind(MemoHelpD, "MemoHelpD");
  Bind(StaticTextTitle, "StaticTextTitle");
  Bind(MemoHelpUS, "MemoHelpUS");
  Bind(HotSpeedButtonOK, "HotSpeedButtonOK");
  Bind(HotSpeedButtonUndo, "HotSpeedButtonUndo");
  Bind(HotSpeedButtonInfo, "HotSpeedButtonInfo");
  Bind(HotSpeedButtonRegistry, "HotSpeedButtonRegistry");
}

// --- Creation and validity --------------------------------------------------------------

void TfrmTippTemplate::FormCreate(TComponent *) {
  {
    TRegistry reg;
    reg.RootKey = HKEY_CURRENT_USER;
    reg.OpenKey(kSettingsKey, true);
    BSControl = true;
    if (reg.ValueExists("BSControl")) {
      try {
        BSControl = reg.ReadBool("BSControl");
      } catch (const ERegistryException &) {
        // Reported once; a value of the wrong type counts as no value (BSControl stays set).
        ApplicationHandleException();
      }
    }
    reg.CloseKey();
  }
  if (!IsStandardDPI()) {
    ShowMessage("Big");  // as the tip always has: a screen of other than 96 dpi is announced
    TScreenDC dc;
    ScaleBy(96, GetDeviceCaps(dc.Get(), LOGPIXELSX));
    Refresh();
  }
  ModulOsBit = (ModulOsCode >= 1 && ModulOsCode <= 18) ? int32_t(1) << (ModulOsCode - 1) : 0;
  ApplyValidityRule();
  StaticTextTitle->SetCaption(Caption());
}

bool TfrmTippTemplate::IsStandardDPI() {
  TScreenDC dc;
  return GetDeviceCaps(dc.Get(), LOGPIXELSX) == 96;
}

void TfrmTippTemplate::ApplyValidityRule() {
  if (ModulValidOsMask & ModulOsBit) {
    ModulTipValid = true;
  } else if (BSControl) {
    DisableForUnsupportedSystem();
    ModulTipValid = false;
  } else {
    ModulTipValid = true;
  }
}

void TfrmTippTemplate::CreateFailed() {
  ModulTipValid = false;
  DisableForUnsupportedSystem();
}

void TfrmTippTemplate::DisableForUnsupportedSystem() {
  for (int i = 0; i < ComponentCount(); ++i)
    if (auto *control = dynamic_cast<TControl *>(Components(i))) control->SetEnabled(false);
  StaticTextTitle->SetEnabled(true);
  MemoHelpD->SetEnabled(true);
  MemoHelpUS->SetEnabled(true);
  HotSpeedButtonInfo->SetEnabled(true);
  HotSpeedButtonRegistry->SetEnabled(true);
}

void TfrmTippTemplate::FormShow(TComponent *) {
  StaticTextTitle->SetCaption(Caption());
  MemoHelpD->Lines().SetText(HelpText(HelpNr, ORVANE_HELP_GERMAN));
  MemoHelpUS->Lines().SetText(HelpText(HelpNr, ORVANE_HELP_ENGLISH));
}

void TfrmTippTemplate::Sprache(int Language) {
  ModulLanguage = Language;
  bool english = Language == 1;
  HotSpeedButtonUndo->SetHint(english ? "Restore defaults" : "Setzt alles wieder auf die Standartwerte");
  HotSpeedButtonOK->SetHint(english ? "Changes will be saved immediately" : "Änderungen werden gespeichert");
  HotSpeedButtonRegistry->SetHint(english ? "Registry Lookup" : "Wert in der Registry nachschlagen");
  HotSpeedButtonInfo->SetHint(english ? "Valid to ..." : "Gültig für ... ");
  Fensterwechseln1->Caption = english ? "Change Window" : "Fenster wechseln";
  MemoHelpD->SetVisible(!english);
  MemoHelpUS->SetVisible(english);
}

// --- Buttons and menu -------------------------------------------------------------------

void TfrmTippTemplate::Fensterwechseln1Click(TComponent *) {
  BroadcastHostMessage(cmdShow, 0);
}

void TfrmTippTemplate::HotSpeedButtonUndoClick(TComponent *) { ModulUndoFlag = true; }

void TfrmTippTemplate::HotSpeedButtonOKClick(TComponent *) {
  ModulOkFlag = true;
  BroadcastHostMessage(cmdSaved, ModulUndoFlag ? 1 : 2);
}

std::string RegistryEditorPath() {
  char dir[MAX_PATH] = {0};
  UINT n = GetWindowsDirectoryA(dir, sizeof dir);
  if (n == 0 || n >= sizeof dir) return "regedit.exe";
  return IncludeTrailingBackslash(std::string(dir, n)) + "regedit.exe";
}

void TfrmTippTemplate::HotSpeedButtonRegistryClick(TComponent *) {
  TRegistry reg;
  reg.RootKey = HKEY_CURRENT_USER;
  reg.OpenKey(kRegeditKey, true);
  std::string key = HelpText(HelpNr, ORVANE_HELP_REGKEY);
  reg.WriteString("LastKey", key);
  reg.CloseKey();
  // The full path: the folder dialog moves the current directory wherever the user browses.
  std::string editor = RegistryEditorPath();
  SetLastError(ERROR_SUCCESS);
  auto started = INT_PTR(SystemActions().ShellExecuteA(Handle(), nullptr, editor.c_str(), "", "", SW_SHOW));
  if (started > 32) return;
  // The small answers that are the system's error codes; the others leave theirs behind.
  DWORD reason = started == ERROR_FILE_NOT_FOUND || started == ERROR_PATH_NOT_FOUND ||
                         started == ERROR_ACCESS_DENIED || started == ERROR_NOT_ENOUGH_MEMORY ||
                         started == ERROR_BAD_FORMAT
                     ? DWORD(started)
                     : GetLastError();
  std::string text = "Der Registrierungs-Editor " + editor + " konnte nicht gestartet werden.";
  if (reason != ERROR_SUCCESS) text += "\r\n\r\n" + SysErrorMessage(reason);
  ShowMessage(text);
}

std::string ValidSystemsText(int32_t mask, int32_t language) {
  std::string text = language == 1 ? "Valid for:" : "Gültig für:";
  text += "\r\n\r\n";
  for (int bit = 0; bit < kNamedOsEditions; ++bit)
    if (mask & (int32_t(1) << bit)) text += std::string(kOsEditionNames[bit]) + "\r\n";
  return text;
}

void TfrmTippTemplate::HotSpeedButtonInfoClick(TComponent *) {
  ShowMessage(ValidSystemsText(ModulValidOsMask, ModulLanguage));
}

// --- Restart ----------------------------------------------------------------------------

bool SetPrivilege(const std::string &Name, bool Enable) {
  TSystemActions &sys = SystemActions();
  HANDLE token = nullptr;
  if (!sys.OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
    return false;
  bool result = false;
  TOKEN_PRIVILEGES request = {};
  if (sys.LookupPrivilegeValueA(nullptr, Name.c_str(), &request.Privileges[0].Luid)) {
    request.PrivilegeCount = 1;
    request.Privileges[0].Attributes = Enable ? SE_PRIVILEGE_ENABLED : 0;
    TOKEN_PRIVILEGES previous = {};
    DWORD returned = 0;
    result = sys.AdjustTokenPrivileges(token, FALSE, &request, sizeof previous, &previous, &returned) != 0;
  }
  DWORD error = GetLastError();
  sys.CloseHandle(token);
  SetLastError(error);  // the reason of a failure, not the closing's
  return result;
}

bool ShutdownWithPrivilege(int Flags) {
  if (!SetPrivilege("SeShutdownPrivilege", true)) return false;
  bool result = SystemActions().ExitWindowsEx(UINT(Flags), 0) != 0;
  DWORD error = GetLastError();
  SetPrivilege("SeShutdownPrivilege", false);
  SetLastError(error);  // why Windows refused, not how the privilege went back
  return result;
}

void TfrmTippTemplate::NeuStart() {
  int answer = MessageDlg(
      "Um diese Änderung zu aktivieren, ist ein Neustart des Systems erforderlich. Soll der "
      "Neustart jetzt durchgeführt werden ?",
      mtConfirmation, mbYes | mbNo, 0);
  if (answer != mrYes) return;
  // Every Windows but 95, 98 and ME refuses the restart to a process that has not enabled
  // its shutdown privilege.
  SetLastError(ERROR_SUCCESS);
  bool accepted;
  if (IsWindows9xCode(Tag)) accepted = SystemActions().ExitWindowsEx(EWX_REBOOT, 0) != 0;
  else accepted = ShutdownWithPrivilege(EWX_REBOOT);
  if (accepted) {
    Close();
    return;
  }
  DWORD reason = GetLastError();
  std::string text = "Das System läßt sich zur Zeit nicht neu starten. Bitte führen Sie später manuell "
                     "einen Neustart durch";
  if (reason != ERROR_SUCCESS) text += "\r\n\r\n" + SysErrorMessage(reason);
  ShowMessage(text);
}

// --- The host's window message ----------------------------------------------------------

LRESULT TfrmTippTemplate::WndProc(UINT msg, WPARAM w, LPARAM l) {
  LRESULT result = TForm::WndProc(msg, w, l);
  // Without a registered id there are no commands: message 0 is WM_NULL.
  if (ModulMessageId == 0 || msg != ModulMessageId) return result;
  // Both values are 32-bit and must not be negative.
  int32_t command = int32_t(uint32_t(w));
  int32_t argument = int32_t(uint32_t(l));
  if (command < 0 || argument < 0) RaiseRangeError();
  switch (uint32_t(command)) {
    case cmdClose:
      try {
        Close();
      } catch (...) {
        ShowMessage("e");  // as the tip always has: a failing close says only this
      }
      // The window goes now; the object once this message has been handled.
      Free();
      break;
    case cmdLeft: SetLeft(argument == 0 ? 1 : argument); break;
    case cmdTop: SetTop(argument == 0 ? 1 : argument); break;
    case cmdWidth: SetWidth(argument); break;
    case cmdHeight: SetHeight(argument); break;
    case cmdAccepted: break;
    case cmdShow: Show(); break;
    default: break;
  }
  return result;
}
