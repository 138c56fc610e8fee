// The select-directory dialog: a modal window with a drive combo box, a directory list,
// a greyed list of the files in the current directory, a path label (or an edit box when
// new names are allowed) and the buttons OK, Cancel, Help and Network.
#pragma once
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>

#include "folderselect/DirectoryListBox.h"
#include "folderselect/DriveComboBox.h"
#include "folderselect/FileListBox.h"
#include "folderselect/PathLabel.h"
#include "toolkit/Form.h"
#include "toolkit/Button.h"
#include "toolkit/Edit.h"

enum TChooseDirOption : uint8_t { cdAllowNewName, cdCreateOnAccept, cdConfirmCreate };

// A set of TChooseDirOption in one byte: member n is bit n (1, 2, 4).
struct TChooseDirOptions {
  uint8_t Bits = 0;
  constexpr TChooseDirOptions() = default;
  constexpr TChooseDirOptions(std::initializer_list<TChooseDirOption> options) {
    for (TChooseDirOption o : options) Bits = uint8_t(Bits | (1u << o));
  }
  constexpr bool Contains(TChooseDirOption o) const { return (Bits >> o) & 1u; }
  constexpr bool operator==(const TChooseDirOptions &o) const { return Bits == o.Bits; }
  constexpr bool operator!=(const TChooseDirOptions &o) const { return Bits != o.Bits; }
};
static_assert(sizeof(TChooseDirOptions) == 1, "TChooseDirOptions is one byte");

// Lets the user pick a directory, starting at Directory (empty: the process's current
// directory).  True when the dialog was closed with OK; Directory then holds the chosen
// directory.  On false, and on every exception, Directory is left as it was.  Raises
// EInOutError before the dialog is shown when Directory names a drive that cannot be
// entered.  HelpCtx 0: no Help button.
bool ChooseDirectory(std::string &Directory, TChooseDirOptions Options, int HelpCtx);

// The folder dialog's seam: while a handler is installed, ChooseDirectory asks it instead
// of showing the dialog (the tip's own tests answer the dialog this way).  An empty
// handler restores the real dialog.  Returns the previous handler.
using TChooseDirectoryHandler =
    std::function<bool(std::string &Directory, TChooseDirOptions Options, int HelpCtx)>;
TChooseDirectoryHandler SetChooseDirectoryHandler(TChooseDirectoryHandler handler);

// The system's network-drive connection dialog: owner window and resource type (1: disk).
using TConnectDialogProc = DWORD(WINAPI *)(HWND owner, DWORD resourceType);

// The dialog ChooseDirectory shows, built in code.  Created for one call, owned by the
// application object and destroyed before ChooseDirectory returns.  Its controls are
// owned by the dialog; the drive list and the directory list are joined only through the
// dialog's two OnChange handlers.
class TSelectDirDlg : public TForm {
 public:
  explicit TSelectDirDlg(TComponent *AOwner);
  const char *ClassName() const override { return "TSelectDirDlg"; }

  TDirectoryListBox *DirList = nullptr;
  TEdit *DirEdit = nullptr;
  TDriveComboBox *DriveList = nullptr;
  TPathLabel *DirLabel = nullptr;
  TButton *OKButton = nullptr;
  // The same button as TForm::CancelButton, which Escape presses.
  TButton *CancelButton = nullptr;
  TButton *HelpButton = nullptr;
  TButton *NetButton = nullptr;
  TFileListBox *FileList = nullptr;

  // The edit box's text while new names are allowed, else the full current directory.
  std::string ChosenDirectory() const;
  // Moves drive and directory list to a start directory (see ChooseDirectory); falls
  // back to the drive's current directory when the directory cannot be entered.
  void SetChosenDirectory(const std::string &Value);
  bool AllowNewName() const { return allowNewName_; }
  void SetAllowNewName(bool Value);
  bool ConfirmCreate() const { return confirmCreate_; }
  void SetConfirmCreate(bool Value) { confirmCreate_ = Value; }
  TConnectDialogProc ConnectDialogProc() const { return connectDialogProc_; }

  void DirListChange(TComponent *Sender);
  void FormCreate(TComponent *Sender);
  void DriveListChange(TComponent *Sender);
  void NetClick(TComponent *Sender);
  void OKClick(TComponent *Sender);
  void HelpButtonClick(TComponent *Sender);

 private:
  bool allowNewName_ = false;
  bool confirmCreate_ = false;
  TConnectDialogProc connectDialogProc_ = nullptr;
};

// How FormCreate finds the routines of the network connection dialog (GetProcAddress):
// tests stand in for a system whose "user32.dll" has "WNETGETCAPS".  An empty lookup
// restores GetProcAddress.  Returns the previous lookup.
using TNetProcLookup = std::function<FARPROC(HMODULE module, const char *name)>;
TNetProcLookup SetNetProcLookup(TNetProcLookup lookup);
