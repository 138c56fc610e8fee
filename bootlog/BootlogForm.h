// The boot-log tip window: shows LOG.BAT, whether c:\AUTOEXEC.BAT calls it, and the log
// c:\winboot.log that LOG.BAT appends to at every start of the computer.
#pragma once
#include <string>
#include <vector>

#include "bootlog/Autoexec.h"
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
  // The text of the log view: c:\winboot.log, and where the system records its starts
  // itself, those too.
  std::string LogViewContent() const;

  // True once the window was set up for the running system: its batch text filled and its
  // check box set from AUTOEXEC.BAT.  Only such a window holds anything OK could save.
  bool setUpForSaving_ = false;
};

// The five lines of LOG.BAT as the tip proposes them.
const std::vector<std::string> &LogBatText();

// The most of the log the view shows: the edit controls of Windows 95, 98 and ME hold no
// more than 64 KB.
constexpr size_t kLogViewLimit = 60000;
// What the log view shows of the log's text: all of it, its lines ending in CR LF; or,
// for a longer log, its newest lines that fit in Limit bytes, from the start of a line,
// under a first line that says older entries are left out.
std::string LogViewText(const std::string &Log, int Language, size_t Limit = kLogViewLimit);

// The notice shown on OK on systems that start without running the commands of
// AUTOEXEC.BAT (codes 10 to 18): what records the starts there instead.  Without OsCode,
// for the running system (ModulOsCode).
std::string AutoexecIgnoredNotice(int Language);
std::string AutoexecIgnoredNotice(int Language, int OsCode);
