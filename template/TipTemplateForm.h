// The window every tip derives from: border strips, title, German and English help text,
// the OK, Undo, Info and Registry buttons, the window-switch menu item on F12, the
// validity check for the running system and the host's window message.
#pragma once
#include <string>
#include <vector>

#include "template/HotSpeedButton.h"
#include "toolkit/Panel.h"
#include "toolkit/Form.h"
#include "toolkit/Menus.h"
#include "toolkit/Memo.h"
#include "toolkit/StaticText.h"

class TfrmTippTemplate : public TForm {
 public:
  explicit TfrmTippTemplate(TComponent *AOwner);
  const char *ClassName() const override { return "TfrmTippTemplate"; }

  // Components of the form resource.
  TPopupMenu *PopupMenu1 = nullptr;
  TMenuItem *Fensterwechseln1 = nullptr;
  TImageList *ImageList1 = nullptr;
  TPanel *PanelRightBorder = nullptr;
  TPanel *PanelLeftBorder = nullptr;
  TPanel *PanelTopBorder = nullptr;
  TPanel *PanelBottomBorder = nullptr;
  TMemo *MemoHelpD = nullptr;
  TStaticText *StaticTextTitle = nullptr;
  TMemo *MemoHelpUS = nullptr;
  THotSpeedButton *HotSpeedButtonOK = nullptr;
  THotSpeedButton *HotSpeedButtonUndo = nullptr;
  THotSpeedButton *HotSpeedButtonInfo = nullptr;
  THotSpeedButton *HotSpeedButtonRegistry = nullptr;
  // True: a tip that is not valid for the running system is disabled.
  bool BSControl = true;
  // Selects the tip's texts in the help library.
  int HelpNr = 0;

  void Sprache(int Language);
  // Asks whether to restart now and, if so, restarts Windows.
  void NeuStart();
  void FormCreate(TComponent *Sender);
  void FormShow(TComponent *Sender);
  void Fensterwechseln1Click(TComponent *Sender);
  void HotSpeedButtonUndoClick(TComponent *Sender);
  void HotSpeedButtonOKClick(TComponent *Sender);
  void HotSpeedButtonRegistryClick(TComponent *Sender);
  void HotSpeedButtonInfoClick(TComponent *Sender);

  // Decides ModulTipValid from ModulOsBit and, when needed, disables the window.
  void ApplyValidityRule();
  void DisableForUnsupportedSystem();
  bool IsStandardDPI();

 protected:
  std::vector<std::string> FormResources() const override { return {"TFRMTIPPTEMPLATE"}; }
  void RegisterMethods() override;
  void BindComponents() override;
  // The host's commands arrive here (see the message protocol in TipTemplateForm.cpp).
  LRESULT WndProc(UINT msg, WPARAM w, LPARAM l) override;
  // A window whose creation steps failed half way opens as not valid for the system, so
  // that nothing can be saved from what is only half set up.
  void CreateFailed() override;
};

// Enables or disables one privilege of the process; true when the adjustment call succeeded.
bool SetPrivilege(const std::string &Name, bool Enable);
// ExitWindowsEx between enabling and disabling the shutdown privilege.
bool ShutdownWithPrivilege(int Flags);

// The text of the Info button for a mask and language.
std::string ValidSystemsText(int32_t mask, int32_t language);

// The full path of the Registry Editor of the Windows directory.
std::string RegistryEditorPath();

// The template unit's part of loading the module: registers the window message.
void MainTippUInitialization();
