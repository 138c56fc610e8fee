// The drive combo box: the drives present, each with a picture of its kind.
#pragma once

#include <memory>

#include "toolkit/ListControls.h"

class TDirectoryListBox;

enum TTextCase { tcLowerCase, tcUpperCase };

// The drives present, each with a picture of its kind and its volume label or network
// name; keeps the current drive letter and passes every change to a linked directory
// list and to OnChange.
class TDriveComboBox : public TCustomComboBox {
 public:
  explicit TDriveComboBox(TComponent *AOwner);
  ~TDriveComboBox() override;
  const char *ClassName() const override { return "TDriveComboBox"; }

  char DriveLetter() const { return driveLetter_; }
  void SetDriveLetter(char NewDrive);
  TTextCase TextCase() const { return textCase_; }
  void SetTextCase(TTextCase Value);
  TDirectoryListBox *DirList() const { return dirList_; }
  void SetDirList(TDirectoryListBox *Value);

  void Notification(TComponent *AComponent, TOperation Operation) override;
  void Click() override;
  void AdjustItemHeight();

  std::shared_ptr<TBitmap> FloppyBitmap;
  std::shared_ptr<TBitmap> FixedBitmap;
  std::shared_ptr<TBitmap> NetworkBitmap;
  std::shared_ptr<TBitmap> CDROMBitmap;
  std::shared_ptr<TBitmap> RAMBitmap;

 protected:
  virtual void FillDriveList();
  // Position of the item for Drive (either case), -1 when there is none.
  int IndexOfDrive(char Drive) const;
  void CreateWnd() override;
  void PaintItem(int Index, RECT Rect, UINT State) override;
  void FontChanged() override;

 private:
  char driveLetter_ = 0;
  TTextCase textCase_ = tcLowerCase;
  TDirectoryListBox *dirList_ = nullptr;
};
