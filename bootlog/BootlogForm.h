// The boot-log tip window: shows LOG.BAT, whether c:\AUTOEXEC.BAT calls it, and the log
// c:\winboot.log that LOG.BAT appends to at every start of the computer.
#pragma once
#include <string>
#include <vector>

#include "template/TipTemplateForm.h"
#include "toolkit/CheckBox.h"
#include "toolkit/Memo.h"
#include "toolkit/SpeedButton.h"

class TFormBootlog : public TfrmTippTemplate {
 public:
  explicit TFormBootlog(TComponent *AOwner);
  const char *ClassName() const override { return "TFormBootlog"; }

  TMemo *T263_Memo = nullptr;             // the LOG.BAT text, editable
  TMemo *T263_MemoWinBootLog = nullptr;   // c:\winboot.log, read-only, shown on request
  TCheckBox *T263_CheckBox = nullptr;     // AUTOEXEC.BAT shall call LOG.BAT; Tag 1: it did
  TSpeedButton *T263_SpeedButton = nullptr;     // shows and hides the log
  TSpeedButton *T263_SpeedButtonDEL = nullptr;  // deletes the log

  void Sprache(int Language);
  void FormCreate(TComponent *Sender);
  void HotSpeedButtonUndoClick(TComponent *Sender);
  void T263_SpeedButtonClick(TComponent *Sender);
  void T263_SpeedButtonDELClick(TComponent *Sender);
  void HotSpeedButtonOKClick(TComponent *Sender);

  // True while the log view is shown.
  bool LogViewShown() const;

 protected:
  std::vector<std::string> FormResources() const override {
    return {"TFRMTIPPTEMPLATE", "TFORMBOOTLOG"};
  }
  void RegisterMethods() override;
  void BindComponents() override;

 private:
  void FillLogBatText();
  void ShowBatchView();
};

// The root of the boot drive.
std::string BootDriveRoot();
// The five lines of LOG.BAT as the tip proposes them.
const std::vector<std::string> &LogBatText();
// Whether a line of AUTOEXEC.BAT calls a LOG.BAT (any line that mentions one counts).
bool IsLogBatHook(const std::string &line);
// LOG.BAT in Folder ("C:\TOOLS" and the root "C:\" alike, with one backslash between).
std::string LogBatPath(const std::string &Folder);
// Whether Path is a drive, a colon and 8.3 names that real-mode DOS can use as they are.
bool IsPlainDosPath(const std::string &Path);
// The line of AUTOEXEC.BAT that calls Folder's LOG.BAT.  AUTOEXEC.BAT runs before Windows,
// under DOS: a folder that is not a plain 8.3 path is called by its short name, in the
// DOS code page.  Raises EFCreateError naming AUTOEXEC.BAT when it has no short name.
std::string HookLine(const std::string &Folder);
