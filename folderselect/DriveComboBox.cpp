#include "folderselect/DirectoryListBox.h"
#include "folderselect/DriveComboBox.h"
#include "folderselect/DriveQueries.h"
#include "folderselect/FolderPictures.h"
#include "folderselect/PathHelpers.h"

TDriveComboBox::TDriveComboBox(TComponent *AOwner) : TCustomComboBox(AOwner) {
  FloppyBitmap = ModuleBitmap("FLOPPY");
  FixedBitmap = ModuleBitmap("HARD");
  NetworkBitmap = ModuleBitmap("NETWORK");
  CDROMBitmap = ModuleBitmap("CDROM");
  RAMBitmap = ModuleBitmap("RAM");
  std::string cur = GetCurrentDir();
  driveLetter_ = cur.empty() || cur[0] == '\\' ? '\0' : cur[0];
  AdjustItemHeight();
}

TDriveComboBox::~TDriveComboBox() {
  // The window's items point at the pictures, which go with the members: it goes first.
  if (HandleAllocated()) TControl::DestroyWnd();
}

void TDriveComboBox::CreateWnd() {
  TCustomComboBox::CreateWnd();
  if (!HandleAllocated()) return;
  FillDriveList();
  // Nothing is selected yet, so this selects, tells the directory list and fires OnChange.
  SetDriveLetter(driveLetter_);
}

void TDriveComboBox::FillDriveList() {
  Clear();
  const TDriveQueries &query = CurrentDriveQueries();
  DWORD drives = query.LogicalDrives();
  for (int n = 0; n < 26; ++n) {
    if (!(drives & (DWORD(1) << n))) continue;
    char letter = char('a' + n);
    char root[4] = {letter, ':', '\\', 0};
    UINT kind = query.DriveType(root);
    if (textCase_ == tcUpperCase) letter = UpCase(letter);
    switch (kind) {
      case DRIVE_REMOVABLE:
        // Asking a floppy drive for its label would spin it up, or fail without a disk.
        AddItem(std::string(1, letter) + ":", FloppyBitmap.get());
        break;
      case DRIVE_FIXED:
        AddItem(Format("%c: %s", letter, query.VolumeLabel(letter).c_str()), FixedBitmap.get());
        break;
      case DRIVE_REMOTE:
        AddItem(Format("%c: %s", letter, query.NetworkName(letter).c_str()), NetworkBitmap.get());
        break;
      case DRIVE_CDROM:
        AddItem(Format("%c: %s", letter, query.VolumeLabel(letter).c_str()), CDROMBitmap.get());
        break;
      case DRIVE_RAMDISK:
        AddItem(Format("%c: %s", letter, query.VolumeLabel(letter).c_str()), RAMBitmap.get());
        break;
      default:
        break;
    }
  }
}

int TDriveComboBox::IndexOfDrive(char Drive) const {
  for (int i = 0, n = Count(); i < n; ++i) {
    std::string text = Items(i);
    if (text.size() >= 2 && UpCase(text[0]) == UpCase(Drive) && text[1] == ':') return i;
  }
  return -1;
}

void TDriveComboBox::SetDriveLetter(char NewDrive) {
  if (ItemIndex() >= 0 && UpCase(NewDrive) == UpCase(driveLetter_)) return;
  const char previousLetter = driveLetter_;
  const int previousIndex = ItemIndex();
  if (NewDrive == '\0') {
    driveLetter_ = '\0';
    SetItemIndex(-1);
  } else {
    char upper = UpCase(NewDrive);
    // Only letters have a lower case; anything else is kept as it is rather than turned
    // into some other character.
    bool letter = upper >= 'A' && upper <= 'Z';
    driveLetter_ = textCase_ == tcUpperCase || !letter ? upper : char(upper + 32);
    int index = IndexOfDrive(driveLetter_);
    if (index >= 0) SetItemIndex(index);
  }
  try {
    // A linked list follows here, an unlinked one (as in the select-directory dialog)
    // through OnChange.
    if (dirList_) dirList_->SwitchDrive(driveLetter_);
    if (OnChange) OnChange(this);
  } catch (...) {
    // The list stayed where it was (an empty drive, say): so does the box, and the
    // next pick of that drive tries it again.  A user's pick has already moved the
    // selection, so the previous drive's own item is looked up first.
    driveLetter_ = previousLetter;
    int index = previousLetter == '\0' ? -1 : IndexOfDrive(previousLetter);
    SetItemIndex(index >= 0 || previousLetter == '\0' ? index : previousIndex);
    throw;
  }
}

void TDriveComboBox::SetTextCase(TTextCase Value) {
  textCase_ = Value;
  char drive = driveLetter_;
  FillDriveList();
  SetDriveLetter(drive);
}

void TDriveComboBox::SetDirList(TDirectoryListBox *Value) {
  if (dirList_) dirList_->UnlinkDriveCombo(this);
  dirList_ = Value;
  if (Value) {
    Value->LinkDriveCombo(this);
    Value->FreeNotification(this);
  }
}

void TDriveComboBox::Notification(TComponent *AComponent, TOperation Operation) {
  TCustomComboBox::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == dirList_) dirList_ = nullptr;
}

void TDriveComboBox::Click() {
  TCustomComboBox::Click();
  int index = ItemIndex();
  if (index >= 0) SetDriveLetter(Items(index)[0]);
}

void TDriveComboBox::FontChanged() {
  TCustomComboBox::FontChanged();
  AdjustItemHeight();
  RecreateWnd();  // refills the list through CreateWnd
}

void TDriveComboBox::AdjustItemHeight() {
  SetItemHeight(PictureItemHeight(Font(), FloppyBitmap.get(), 0));
}

void TDriveComboBox::PaintItem(int Index, RECT Rect, UINT State) {
  TCanvas &canvas = Canvas();
  canvas.FillRect(Rect);
  int bitmapWidth = 16;
  auto *bitmap = static_cast<TBitmap *>(Objects(Index));
  if (bitmap) {
    bitmapWidth = bitmap->Width();
    DrawGlyph(canvas, *bitmap, Rect, Rect.left + 2);
  }
  Rect.left += bitmapWidth + 6;
  std::string text = Items(Index);
  TSelectGuard font(canvas.Handle(), canvas.Font.Handle());
  int oldMode = SetBkMode(canvas.Handle(), TRANSPARENT);
  COLORREF oldColor = SetTextColor(canvas.Handle(), ColorToRGB(canvas.Font.Color()));
  DrawTextA(canvas.Handle(), text.c_str(), -1, &Rect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  SetTextColor(canvas.Handle(), oldColor);
  SetBkMode(canvas.Handle(), oldMode);
}
