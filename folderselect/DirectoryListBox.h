// The directory list: the levels of the current directory's path and its
// sub-directories.  It works through the process-wide current directory: after every
// successful change that is the list's current directory.
#pragma once

#include <memory>
#include <string>

#include "toolkit/ListControls.h"
#include "toolkit/Label.h"

class TFileListBox;
class TDriveComboBox;
class TStringList;

// The levels of the current directory's path from the drive's root down, then its
// visible sub-directories sorted; each item with a folder picture and indented by its
// depth.  Double click and Enter make an item's directory current.  Each item's object
// is one of the three bitmaps, which also tells its kind.
class TDirectoryListBox : public TCustomListBox {
 public:
  explicit TDirectoryListBox(TComponent *AOwner);
  ~TDirectoryListBox() override;
  const char *ClassName() const override { return "TDirectoryListBox"; }

  const std::string &CurrentDirectory() const { return currentDirectory_; }
  // Goes to a directory, possibly on another drive; raises EInOutError when it cannot
  // be entered (nothing has changed then).
  virtual void SetCurrentDirectory(const std::string &NewDirectory);
  char DriveLetter() const;
  void SetDriveLetter(char Value);
  // Changes to the current directory of another drive (#0: no drive).
  void SwitchDrive(char NewDrive);
  void EnterDirectory(const std::string &NewDirectory);
  void OpenSelectedItem();
  // Full path of the item at Index; empty when there is no such item.
  std::string ItemPath(int Index) const;
  std::string NameForDisplay(const std::string &S) const;
  int CompareDirNames(const std::string &A, const std::string &B) const;
  // Adds the visible sub-directories of Parent to List; returns how many.
  int ListSubdirectories(const std::string &Parent, TStringList &List) const;

  TFileListBox *FileList() const { return fileList_; }
  void SetFileList(TFileListBox *Value);
  TCustomLabel *DirLabel() const { return dirLabel_; }
  void SetDirLabel(TCustomLabel *Value);
  TDriveComboBox *DriveComboLink() const { return driveComboLink_; }
  // The drive combo box's side of its SetDirList: the box that this list tells of drive
  // changes; Unlink forgets it only while it is still Combo.
  void LinkDriveCombo(TDriveComboBox *Combo);
  void UnlinkDriveCombo(const TDriveComboBox *Combo);

  bool VolumePreservesCase() const { return volumePreservesCase_; }
  bool VolumeCaseSensitive() const { return volumeCaseSensitive_; }

  // Told after every change of directory.  While it runs, a listing of the new directory
  // gives the entries read at the change: a file the handler makes shows only after it.
  TNotifyEvent OnChange;

  void Notification(TComponent *AComponent, TOperation Operation) override;
  void DblClick() override;
  void AdjustItemHeight();
  void UpdateDirLabel();

  std::shared_ptr<TBitmap> ClosedFolderBitmap;
  std::shared_ptr<TBitmap> OpenFolderBitmap;
  std::shared_ptr<TBitmap> CurrentFolderBitmap;

 protected:
  virtual void NotifyChange();
  virtual void LoadFolderBitmaps();
  virtual void RebuildList();
  void CreateWnd() override;
  void PaintItem(int Index, RECT Rect, UINT State) override;
  void KeyPress(char &Key) override;
  // Enter opens the selected directory, also in a window with a default button.
  bool WantsKey(WORD key) const override { return key == VK_RETURN; }
  void FontChanged() override;

 private:
  // The current directory is a drive's root ("C:\").
  bool AtDriveRoot() const;

  std::string currentDirectory_;
  TFileListBox *fileList_ = nullptr;
  TDriveComboBox *driveComboLink_ = nullptr;
  TCustomLabel *dirLabel_ = nullptr;
  bool inDirectoryChange_ = false;
  bool volumePreservesCase_ = false;
  bool volumeCaseSensitive_ = false;
  int ownItemIndex_ = 0;  // the current directory's own item (at a share's root: the share)
};
