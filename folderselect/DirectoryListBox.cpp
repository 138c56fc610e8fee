#include "folderselect/DirectoryListBox.h"
#include "folderselect/DirectorySearch.h"
#include "folderselect/DriveComboBox.h"
#include "folderselect/FileListBox.h"
#include "folderselect/FolderPictures.h"
#include "folderselect/PathHelpers.h"

TDirectoryListBox::TDirectoryListBox(TComponent *AOwner) : TCustomListBox(AOwner) {
  SetWidth(145);
  // The order of the items is made by RebuildList, not by the control.
  SetSorted(false);
  LoadFolderBitmaps();
  currentDirectory_ = GetCurrentDir();
  AdjustItemHeight();
}

TDirectoryListBox::~TDirectoryListBox() {
  // The window's items point at the pictures, which go with the members: it goes first.
  if (HandleAllocated()) TControl::DestroyWnd();
}

void TDirectoryListBox::LoadFolderBitmaps() {
  OpenFolderBitmap = ModuleBitmap("OPENFOLDER");
  ClosedFolderBitmap = ModuleBitmap("CLOSEDFOLDER");
  CurrentFolderBitmap = ModuleBitmap("CURRENTFOLDER");
}

void TDirectoryListBox::CreateWnd() {
  TCustomListBox::CreateWnd();
  if (!HandleAllocated()) return;
  RebuildList();
  // RebuildList has selected the current directory's own item; at a drive's root the
  // list starts on its first sub-directory instead, as it always has.
  if (AtDriveRoot()) SetItemIndex(1);
}

bool TDirectoryListBox::AtDriveRoot() const {
  return currentDirectory_.size() == 3 && currentDirectory_[1] == ':' && currentDirectory_[2] == '\\';
}

char TDirectoryListBox::DriveLetter() const {
  return currentDirectory_.empty() ? '\0' : currentDirectory_[0];
}

int TDirectoryListBox::ListSubdirectories(const std::string &Parent, TStringList &List) const {
  int count = 0;
  ForEachDirectoryEntry(JoinPath(Parent, "*.*"), [&](DWORD attributes, const char *name) {
    // A search for directories skips hidden, system and volume entries.
    if (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | 0x08)) return;
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return;
    if (strcmp(name, ".") == 0 || strcmp(name, "..") == 0) return;
    List.Add(name);
    ++count;
  });
  return count;
}

void TDirectoryListBox::RebuildList() {
  const std::string &cur = currentDirectory_;
  int selection = -1;
  BeginUpdate();
  try {
    Clear();
    std::string root = ExtractFileDrive(cur) + "\\";
    TVolumeInformation volume = VolumeInformation(root);
    if (volume.known) {
      volumePreservesCase_ = (volume.flags & 3) != 0;
      volumeCaseSensitive_ = (volume.flags & 1) != 0;
    } else {
      // Unknown volume: show names as the system spells them.
      volumePreservesCase_ = true;
      volumeCaseSensitive_ = false;
    }
    int level = 0;
    std::string rest = cur;
    if (root.size() >= 2 && root[1] == '\\') {
      AddItem(root, OpenFolderBitmap.get());
      level = 1;
      rest = root.size() < cur.size() ? cur.substr(root.size()) : std::string();
    }
    if (!rest.empty()) {
      if (AnsiLastChar(rest) != "\\") {
        for (int p = AnsiPos("\\", rest); p > 0; p = AnsiPos("\\", rest)) {
          std::string name = rest.substr(0, size_t(p) - 1);
          if (level == 0) name += "\\";
          rest.erase(0, size_t(p));
          AddItem(name, OpenFolderBitmap.get());
          ++level;
        }
      }
      AddItem(rest, CurrentFolderBitmap.get());
    }
    selection = Count() - 1;
    ownItemIndex_ = selection;
    TStringList dirs;
    dirs.Sorted = true;
    ListSubdirectories(cur, dirs);
    ReserveItems(dirs.Count(), 0);
    for (int i = 0; i < dirs.Count(); ++i) AddItem(dirs[i], ClosedFolderBitmap.get());
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
  if (HandleAllocated()) SetItemIndex(selection);
}

std::string TDirectoryListBox::ItemPath(int Index) const {
  if (Index < 0 || Index >= Count()) return std::string();
  const std::string &cur = currentDirectory_;
  std::string drive = ExtractFileDrive(cur);
  if (Index == 0) return drive + "\\";
  void *kind = Objects(Index);
  if (kind == ClosedFolderBitmap.get()) return JoinPath(cur, Items(Index));
  if (kind == CurrentFolderBitmap.get()) return cur;
  // A level above: the path up to the (Index + 1)-th backslash after the drive.
  std::string rest = cur.substr(drive.size());
  size_t i = 0;
  int found = 0;
  while (i < rest.size()) {
    if (IsLeadByte(rest[i]) && i + 1 < rest.size()) {
      i += 2;
      continue;
    }
    if (rest[i] == '\\' && ++found == Index + 1) break;
    ++i;
  }
  return drive + rest.substr(0, i);
}

std::string TDirectoryListBox::NameForDisplay(const std::string &S) const {
  return volumePreservesCase_ || volumeCaseSensitive_ ? S : AnsiLowerCase(S);
}

int TDirectoryListBox::CompareDirNames(const std::string &A, const std::string &B) const {
  // As the volume compares names: by their characters, case counting or not.
  if (!volumeCaseSensitive_) return AnsiCompareFileName(A, B);
  int r = A.compare(B);
  return r < 0 ? -1 : r > 0 ? 1 : 0;
}

void TDirectoryListBox::PaintItem(int Index, RECT Rect, UINT State) {
  TCanvas &canvas = Canvas();
  canvas.FillRect(Rect);
  int glyphWidth = 16;
  int indent = 4 * Index + 2;
  auto *bitmap = static_cast<TBitmap *>(Objects(Index));
  if (bitmap) {
    // Sub-directories share one indentation, one step below the current directory's own
    // item, and at a drive's root one step more.
    if (bitmap == ClosedFolderBitmap.get()) indent = 4 * (ownItemIndex_ + (AtDriveRoot() ? 2 : 1)) + 2;
    glyphWidth = bitmap->Width();
    DrawGlyph(canvas, *bitmap, Rect, Rect.left + indent);
  }
  canvas.TextOut(Rect.left + indent + glyphWidth + 4, Rect.top, NameForDisplay(Items(Index)));
}

void TDirectoryListBox::SetCurrentDirectory(const std::string &NewDirectory) {
  if (NewDirectory.empty() || CompareDirNames(NewDirectory, currentDirectory_) == 0) return;
  char newDrive = '\0';
  std::string dirPart, filePart;
  // Resolving first reports a missing directory before anything changes.
  SplitEditPath(NewDirectory, newDrive, dirPart, filePart);
  if (DriveLetter() != newDrive) {
    inDirectoryChange_ = true;
    try {
      if (driveComboLink_) driveComboLink_->SetDriveLetter(newDrive);
      else SwitchDrive(newDrive);
    } catch (...) {
      inDirectoryChange_ = false;
      throw;
    }
    inDirectoryChange_ = false;
  }
  EnterDirectory(dirPart);
}

void TDirectoryListBox::SwitchDrive(char NewDrive) {
  if (UpCase(NewDrive) == UpCase(DriveLetter())) return;
  if (NewDrive != '\0') {
    ChDir(std::string(1, NewDrive) + ":");
    currentDirectory_ = CurrentDirOrRaise();
  }
  if (!inDirectoryChange_) {
    TDirectoryReadScope readOnce;  // for the file lists that follow
    RebuildList();
    NotifyChange();
  }
}

void TDirectoryListBox::EnterDirectory(const std::string &NewDirectory) {
  // A relative name is meant relative to the list's own directory.
  if (DirectoryExists(currentDirectory_)) ChDir(currentDirectory_);
  ChDir(NewDirectory);
  currentDirectory_ = CurrentDirOrRaise();
  TDirectoryReadScope readOnce;  // for the file lists that follow
  RebuildList();
  NotifyChange();
}

void TDirectoryListBox::SetDriveLetter(char Value) {
  if (UpCase(Value) != UpCase(DriveLetter())) SetCurrentDirectory(Format("%c:", Value));
}

void TDirectoryListBox::OpenSelectedItem() { SetCurrentDirectory(ItemPath(ItemIndex())); }

void TDirectoryListBox::NotifyChange() {
  if (fileList_) fileList_->SetCurrentDirectory(currentDirectory_);
  UpdateDirLabel();
  if (OnChange) OnChange(this);
}

void TDirectoryListBox::UpdateDirLabel() {
  if (!dirLabel_) return;
  int width = dirLabel_->AutoSize() ? Width() : dirLabel_->Width();
  dirLabel_->SetCaption(ShortenPathToWidth(currentDirectory_, dirLabel_->Canvas(), width));
}

void TDirectoryListBox::AdjustItemHeight() { SetItemHeight(PictureItemHeight(Font(), OpenFolderBitmap.get(), 1)); }

void TDirectoryListBox::DblClick() {
  TCustomListBox::DblClick();
  OpenSelectedItem();
}

void TDirectoryListBox::KeyPress(char &Key) {
  TCustomListBox::KeyPress(Key);
  if (Key == '\r') OpenSelectedItem();
}

void TDirectoryListBox::FontChanged() {
  TCustomListBox::FontChanged();
  AdjustItemHeight();
}

void TDirectoryListBox::SetFileList(TFileListBox *Value) {
  if (fileList_) fileList_->UnlinkDirList(this);
  fileList_ = Value;
  if (Value) {
    Value->LinkDirList(this);
    Value->FreeNotification(this);
  }
}

void TDirectoryListBox::SetDirLabel(TCustomLabel *Value) {
  dirLabel_ = Value;
  if (Value) Value->FreeNotification(this);
  UpdateDirLabel();
}

void TDirectoryListBox::LinkDriveCombo(TDriveComboBox *Combo) {
  driveComboLink_ = Combo;
}

void TDirectoryListBox::UnlinkDriveCombo(const TDriveComboBox *Combo) {
  // The list may have been linked to another box since.
  if (driveComboLink_ == Combo) driveComboLink_ = nullptr;
}

void TDirectoryListBox::Notification(TComponent *AComponent, TOperation Operation) {
  TCustomListBox::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == fileList_) fileList_ = nullptr;
  else if (AComponent == driveComboLink_) driveComboLink_ = nullptr;
  else if (AComponent == dirLabel_) dirLabel_ = nullptr;
}
