#include "folderselect/SelectDirDlg.h"

#include <memory>

#include "folderselect/DirectorySearch.h"
#include "folderselect/PathHelpers.h"
#include "toolkit/Consts.h"
#include "toolkit/Dialogs.h"

namespace {

TChooseDirectoryHandler g_chooseHandler;
TNetProcLookup g_netLookup;

FARPROC LookUpProc(HMODULE module, const char *name) {
  return g_netLookup ? g_netLookup(module, name) : GetProcAddress(module, name);
}

// The old network interface: asked with 0xFFFF it answers the network driver's module.
using TGetCapsProc = WORD(WINAPI *)(WORD index);

// Creates a control of the dialog at its place; the dialog owns it.
template <class T>
T *Place(TSelectDirDlg *dlg, const char *name, int left, int top, int width, int height,
         bool visible = true) {
  auto *c = new T(dlg);
  c->Name = name;
  c->SetBounds(left, top, width, height);
  if (!visible) c->SetVisible(false);
  c->SetParent(dlg);
  return c;
}

TLabel *PlaceCaption(TSelectDirDlg *dlg, const char *caption, int left, int top, int width,
                     int height, TControl *focusControl) {
  auto *label = Place<TLabel>(dlg, "", left, top, width, height);
  label->SetCaption(caption);  // a plain label takes the size of its text
  label->SetFocusControl(focusControl);
  return label;
}

// Puts the process back into a directory after a failed call; a directory that has gone
// meanwhile leaves it where it is.
void RestoreCurrentDirectory(const std::string &dir) {
  try {
    if (!dir.empty() && DirectoryExists(dir)) ChDir(dir);
  } catch (...) {
  }
}

}  // namespace

TChooseDirectoryHandler SetChooseDirectoryHandler(TChooseDirectoryHandler handler) {
  TChooseDirectoryHandler previous = std::move(g_chooseHandler);
  g_chooseHandler = std::move(handler);
  return previous;
}

TNetProcLookup SetNetProcLookup(TNetProcLookup lookup) {
  TNetProcLookup previous = std::move(g_netLookup);
  g_netLookup = std::move(lookup);
  return previous;
}

// --- TSelectDirDlg ----------------------------------------------------------------------

TSelectDirDlg::TSelectDirDlg(TComponent *AOwner) : TForm(AOwner) {
  Name = "SelectDirDlg";
  SetBorderStyle(bsDialog);
  Position = poScreenCenter;
  SetCaption(SSelectDirCap);
  // The controls are placed first and get their windows together with the dialog's, at
  // the end: each window is made once, in its place, and none is moved afterwards.  The
  // frame goes around the client size when the dialog's window is made.
  SetClientWidth(424);
  SetClientHeight(255);

  // The directory list and the file list start in the same directory: one reading.
  TDirectoryReadScope readOnce;
  DirEdit = Place<TEdit>(this, "DirEdit", 8, 24, 313, 20, false);
  DirEdit->SetTabOrder(1);
  PlaceCaption(this, SDirNameCap, 8, 8, 92, 13, DirEdit);

  DriveList = Place<TDriveComboBox>(this, "DriveList", 232, 192, 185, 19);
  DriveList->SetTabOrder(2);
  PlaceCaption(this, SDrivesCap, 232, 176, 41, 13, DriveList);

  DirLabel = Place<TPathLabel>(this, "DirLabel", 120, 8, 213, 13);

  DirList = new TDirectoryListBox(this);
  DirList->Name = "DirList";
  DirList->SetBounds(8, 72, 213, 138);
  DirList->SetIntegralHeight(true);
  DirList->SetParent(this);
  DirList->SetTabOrder(0);
  DirList->SetTabStop(true);
  DirList->SetItemHeight(17);
  PlaceCaption(this, SDirsCap, 8, 56, 66, 13, DirList);

  FileList = Place<TFileListBox>(this, "FileList", 232, 72, 185, 93);
  FileList->SetTabOrder(6);
  FileList->SetTabStop(true);
  FileList->SetFileType(TFileType{ftNormal});
  FileList->SetMask("*.*");
  FileList->Font().SetColor(clGrayText);
  FileList->SetItemHeight(13);
  PlaceCaption(this, SFilesCap, 232, 56, 57, 13, FileList);

  NetButton = Place<TButton>(this, "NetButton", 8, 224, 77, 27, false);
  NetButton->SetTabOrder(3);
  NetButton->SetCaption(SNetworkCap);
  NetButton->OnClick = [this](TComponent *s) { NetClick(s); };

  OKButton = Place<TButton>(this, "OKButton", 172, 224, 77, 27);
  OKButton->SetTabOrder(4);
  OKButton->SetCaption(SOKButton);
  OKButton->ModalResult = mrOk;
  OKButton->SetDefault(true);
  OKButton->OnClick = [this](TComponent *s) { OKClick(s); };

  CancelButton = Place<TButton>(this, "CancelButton", 256, 224, 77, 27);
  CancelButton->SetTabOrder(5);
  CancelButton->SetCaption(SCancelButton);
  CancelButton->ModalResult = mrCancel;
  CancelButton->SetCancel(true);

  HelpButton = Place<TButton>(this, "HelpButton", 340, 224, 77, 27);
  HelpButton->SetTabOrder(7);
  HelpButton->SetCaption(SHelpButton);
  HelpButton->OnClick = [this](TComponent *s) { HelpButtonClick(s); };

  FixupTabOrder();
  HandleNeeded();
  DirList->OnChange = [this](TComponent *s) { DirListChange(s); };
  DriveList->OnChange = [this](TComponent *s) { DriveListChange(s); };
  FormCreate(this);
  SetActiveControl(DirList);
}

std::string TSelectDirDlg::ChosenDirectory() const {
  return allowNewName_ ? DirEdit->Text() : DirLabel->Caption();
}

void TSelectDirDlg::SetChosenDirectory(const std::string &Value) {
  if (Value.empty()) return;
  std::string temp = ExpandFileName(JoinPath(Value, "*.*"));
  // A network path (\\server\share) has no drive letter and changes nothing.
  if (temp.size() < 3 || temp[1] != ':') return;
  // Not guarded: a drive that cannot be entered is the caller's error.
  DriveList->SetDriveLetter(temp[0]);
  temp = ExtractFilePath(temp);
  // A root keeps its backslash: the bare "X:" would mean the drive's current directory.
  std::string dir = temp.size() == 3 ? temp : temp.substr(0, temp.size() - 1);
  try {
    DirList->SetCurrentDirectory(dir);
  } catch (const EInOutError &) {
    // Not there, or not allowed in: the drive's current directory, which the drive
    // switch has made the process's.
    temp = GetCurrentDir();
    DriveList->SetDriveLetter(temp[0]);
    DirList->SetCurrentDirectory(temp);
  }
}

void TSelectDirDlg::SetAllowNewName(bool Value) {
  if (Value == allowNewName_) return;
  allowNewName_ = Value;
  DirLabel->SetVisible(!Value);
  DirEdit->SetVisible(Value);
}

void TSelectDirDlg::FormCreate(TComponent *) {
  HMODULE user32 = GetModuleHandleA("user32.dll");
  auto getCaps = reinterpret_cast<TGetCapsProc>(user32 ? LookUpProc(user32, "WNETGETCAPS") : nullptr);
  if (getCaps) {
    WORD driver = getCaps(0xFFFF);
    if (driver != 0) {
      connectDialogProc_ = reinterpret_cast<TConnectDialogProc>(
          LookUpProc(reinterpret_cast<HMODULE>(UINT_PTR(driver)), "WNETCONNECTDIALOG"));
      NetButton->SetVisible(connectDialogProc_ != nullptr);
    }
  }
  allowNewName_ = false;
  DirLabel->SetBounds(DirEdit->Left(), DirEdit->Top(), DirEdit->Width(), DirEdit->Height());
  DirListChange(this);
}

void TSelectDirDlg::DirListChange(TComponent *) {
  if (!DirList || !DirLabel || !FileList || !DirEdit) return;  // still being built
  DirLabel->SetCaption(DirList->CurrentDirectory());
  FileList->ApplyTypedPath(DirLabel->Caption());
  DirEdit->SetText(DirLabel->Caption());
  DirEdit->SelectAll();
}

void TSelectDirDlg::DriveListChange(TComponent *) {
  if (!DirList) return;  // still being built
  DirList->SetDriveLetter(DriveList->DriveLetter());
}

void TSelectDirDlg::NetClick(TComponent *) {
  if (connectDialogProc_) connectDialogProc_(Handle(), 1 /* RESOURCETYPE_DISK */);
}

void TSelectDirDlg::OKClick(TComponent *) {
  if (allowNewName_ && confirmCreate_ && !DirectoryExists(ChosenDirectory()) &&
      MessageDlg(SConfirmCreateDir, mtConfirmation, mbYes | mbNo, 0) != mrYes)
    ModalResult = mrNone;
}

void TSelectDirDlg::HelpButtonClick(TComponent *) { Application->HelpContext(HelpContext); }

// --- ChooseDirectory --------------------------------------------------------------------

bool ChooseDirectory(std::string &Directory, TChooseDirOptions Options, int HelpCtx) {
  if (g_chooseHandler) return g_chooseHandler(Directory, Options, HelpCtx);
  const std::string callersDirectory = GetCurrentDir();
  bool accepted = false;
  std::string chosen;
  {
    std::unique_ptr<TSelectDirDlg> dlg;
    try {
      dlg.reset(new TSelectDirDlg(Application));
      dlg->SetChosenDirectory(Directory);
      dlg->SetAllowNewName(Options.Contains(cdAllowNewName));
      dlg->SetConfirmCreate(Options.Contains(cdConfirmCreate));
      int ppi = Screen->PixelsPerInch();
      if (ppi != 96) {
        dlg->ScaleBy(ppi, 96);
        dlg->FileList->SetParentFont(true);
        dlg->CenterOnScreen();
        dlg->FileList->Font().SetColor(clGrayText);
      }
      if (HelpCtx != 0) {
        dlg->HelpContext = HelpCtx;
      } else {
        // No help: OK and Cancel close up to the right edge.
        dlg->HelpButton->Hide();
        dlg->OKButton->SetLeft(dlg->CancelButton->Left());
        dlg->CancelButton->SetLeft(dlg->HelpButton->Left());
      }
      accepted = dlg->ShowModal() == mrOk;
      if (accepted) chosen = dlg->ChosenDirectory();
    } catch (...) {
      // Nothing was chosen: the dialog goes, and the process is where the caller left it.
      dlg.reset();
      RestoreCurrentDirectory(callersDirectory);
      throw;
    }
  }
  if (!accepted) return false;
  Directory = chosen;
  if (Options.Contains(cdCreateOnAccept)) {
    try {
      ForceDirectories(Directory);  // whether it could be created is not the caller's concern
    } catch (...) {
    }
  }
  return true;
}
