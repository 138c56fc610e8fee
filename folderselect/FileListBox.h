// The file list: the entries of one directory that match a mask and a set of
// attributes.  Links between the folder controls are plain pointers, never owned; each
// side registers for the other's removal notice and forgets the pointer when it arrives.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/ListControls.h"
#include "toolkit/Edit.h"

class TDirectoryListBox;

enum TFileAttr : uint8_t { ftReadOnly, ftHidden, ftSystem, ftVolumeID, ftDirectory, ftArchive, ftNormal };

// A set of TFileAttr in one byte: member n is bit n.
struct TFileType {
  uint8_t Bits = 0;
  constexpr TFileType() = default;
  constexpr TFileType(std::initializer_list<TFileAttr> attrs) {
    for (TFileAttr a : attrs) Bits = uint8_t(Bits | (1u << a));
  }
  constexpr bool Contains(TFileAttr a) const { return (Bits >> a) & 1u; }
  constexpr bool operator==(const TFileType &o) const { return Bits == o.Bits; }
  constexpr bool operator!=(const TFileType &o) const { return Bits != o.Bits; }
};
static_assert(sizeof(TFileType) == 1, "TFileType is one byte");

// The entries of one directory that match Mask (patterns separated by ";") and FileType,
// sorted; directories as "[name]".  The selection can be mirrored into an edit box, and
// a typed path applied in one call.
class TFileListBox : public TCustomListBox {
 public:
  explicit TFileListBox(TComponent *AOwner);
  ~TFileListBox() override;
  const char *ClassName() const override { return "TFileListBox"; }

  const std::string &CurrentDirectory() const { return currentDirectory_; }
  // Lists another directory; raises EInOutError when it cannot be entered.
  void SetCurrentDirectory(const std::string &NewDirectory);
  const std::string &Mask() const { return mask_; }
  void SetMask(const std::string &Value);
  TFileType FileType() const { return fileType_; }
  void SetFileType(TFileType Value);
  bool ShowGlyphs() const { return showGlyphs_; }
  void SetShowGlyphs(bool Value);
  TEdit *FileEdit() const { return fileEdit_; }
  void SetFileEdit(TEdit *Value);
  TDirectoryListBox *DirListLink() const { return dirListLink_; }
  // The directory list's side of its SetFileList: the list that a typed directory goes
  // to; Unlink forgets it only while it is still List.
  void LinkDirList(TDirectoryListBox *List);
  void UnlinkDirList(const TDirectoryListBox *List);

  std::string SelectedName() const;
  void SetSelectedName(const std::string &NewName);
  virtual std::string SelectedPath() const;
  // Applies a typed drive, directory, mask or file name; raises EInOutError for a
  // directory that cannot be entered and EInvalidOperation for a missing file.
  virtual void ApplyTypedPath(const std::string &EnteredPath);
  virtual void ReadFileEntries();

  TNotifyEvent OnChange;
  int LastSelIndex() const { return lastSelIndex_; }

  void Notification(TComponent *AComponent, TOperation Operation) override;
  void Click() override;
  void AdjustItemHeight();

  std::shared_ptr<TBitmap> ExecutableBitmap;
  std::shared_ptr<TBitmap> FolderBitmap;
  std::shared_ptr<TBitmap> UnknownFileBitmap;

 protected:
  virtual void LoadFileBitmaps();
  virtual void NotifyChange();
  // Whether an entry with these attributes is listed under FileType.
  bool ShowsAttributes(DWORD Attributes) const;
  void CreateWnd() override;
  void PaintItem(int Index, RECT Rect, UINT State) override;
  void FontChanged() override;

 private:
  struct TEntry;
  // The listing's text and picture for a directory entry.
  TEntry EntryFor(DWORD Attributes, const char *Name) const;
  // The entries that match the mask and the file type, in the order they are found.
  std::vector<TEntry> MatchingEntries() const;
  // Sorts Entries and fills the (empty) list with them.
  void ShowEntries(std::vector<TEntry> &Entries);

  std::string currentDirectory_;
  std::string mask_ = "*.*";
  TFileType fileType_{ftNormal};
  TEdit *fileEdit_ = nullptr;
  TDirectoryListBox *dirListLink_ = nullptr;
  int lastSelIndex_ = -1;
  bool showGlyphs_ = false;
};
