// The controls of the folder-selection dialog: a drive combo box, a directory list and a
// file list that can be linked to follow each other, a label that shows a path shortened
// to its width, and the path helpers they share.
//
// Links between the controls are plain pointers, never owned; each side registers for
// the other's removal notice and forgets the pointer when it arrives.  Directory and file
// list work through the process-wide current directory: after every successful change it
// is the list's current directory.
#pragma once
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>

#include "toolkit/Controls.h"
#include "toolkit/ListControls.h"
#include "toolkit/StdCtrls.h"

class TFileListBox;
class TDriveComboBox;

// --- path helpers -----------------------------------------------------------------------

// Path with every "/" turned into "\", as the system reads either.
std::string NormalizeSlashes(const std::string &Path);
// Path and Name joined by exactly one "\".
std::string JoinPath(const std::string &Path, const std::string &Name);
// FileName with directories dropped from the left ("C:\...\Gamma\x.txt") until its width
// on Canvas is at most MaxWidth; the file name itself (for "C:\Windows\": "Windows\") is
// never shortened, and a drive letter never stays without its root.
std::string ShortenPathToWidth(const std::string &FileName, TCanvas &Canvas, int MaxWidth);
// One shortening step on a directory part: "\Alpha\Beta\" becomes "\...\Beta\".
void DropFirstDirectory(std::string &Dir);
// "[label]" of the drive's volume, in the case of the drive letter; "[]" when the volume
// cannot be read (no system error box is shown).
std::string DriveVolumeLabel(char Drive);
// The remote name of a redirected drive, else DriveVolumeLabel.
std::string DriveNetworkName(char Drive);
// Splits a typed or listed path into drive letter (#0 for a network path), directory
// and file part, entering every directory on the way to check it.  Raises EInOutError
// for one that cannot be entered; the current directory is restored in every case.
void SplitEditPath(const std::string &EditText, char &Drive, std::string &DirPart,
                   std::string &FilePart);
// Character cell height of Font on the screen.
int FontItemHeight(TFont &Font);
// Number of "\" characters in Path.
int PathDepth(const std::string &Path);

// Where the drive combo box learns which drives exist and what they are called; tests
// replace it to show drive kinds the machine does not have.
struct TDriveQueries {
  DWORD (*LogicalDrives)();
  UINT (*DriveType)(const char *root);
  std::string (*VolumeLabel)(char drive);
  std::string (*NetworkName)(char drive);
};
// Installs queries (null: the system's) and returns the previous ones.
const TDriveQueries *SetDriveQueries(const TDriveQueries *queries);
const TDriveQueries &CurrentDriveQueries();

// Closes a directory search at the end of a scope.
class TFindHandle {
 public:
  explicit TFindHandle(HANDLE h) : h_(h) {}
  ~TFindHandle() { if (h_ != INVALID_HANDLE_VALUE) FindClose(h_); }
  TFindHandle(const TFindHandle &) = delete;
  TFindHandle &operator=(const TFindHandle &) = delete;
  bool Valid() const { return h_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return h_; }

 private:
  HANDLE h_;
};

// While one lives, a search for the same pattern (the same full path) is answered with
// the entries the first one found: a directory list and the file list that follows it
// read a directory once per change instead of once each, which counts in a large one.
// Scopes nest; the entries go with the outermost.  Open one only around work that
// changes nothing on disk.
class TDirectoryReadScope {
 public:
  TDirectoryReadScope();
  ~TDirectoryReadScope();
  TDirectoryReadScope(const TDirectoryReadScope &) = delete;
  TDirectoryReadScope &operator=(const TDirectoryReadScope &) = delete;
};

// Every entry FindFirstFileA and FindNextFileA find for pattern ("." and ".." included),
// with its attributes.
void ForEachDirectoryEntry(const std::string &pattern,
                           const std::function<void(DWORD attributes, const char *name)> &visit);

// A bitmap resource of the module by name (empty when there is none).
std::unique_ptr<TBitmap> LoadModuleBitmap(const char *name);
// Draws bitmap at left, vertically centred in rect, its bottom-left pixel's colour
// replaced by the canvas brush.
void DrawGlyph(TCanvas &canvas, const TBitmap &bitmap, const RECT &rect, int left);

// --- TPathLabel -------------------------------------------------------------------------

// A label that shows its caption, a path, shortened with "...\" to its own width.  It
// keeps the size it is given, never wraps and shows "&" literally.
class TPathLabel : public TCustomLabel {
 public:
  explicit TPathLabel(TComponent *AOwner);
  const char *ClassName() const override { return "TPathLabel"; }

 protected:
  void Paint(TCanvas &canvas) override;
};

// --- file attributes --------------------------------------------------------------------

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

enum TTextCase { tcLowerCase, tcUpperCase };

// --- TDirectoryListBox ------------------------------------------------------------------

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

  bool VolumePreservesCase() const { return volumePreservesCase_; }
  bool VolumeCaseSensitive() const { return volumeCaseSensitive_; }

  TNotifyEvent OnChange;

  void Notification(TComponent *AComponent, TOperation Operation) override;
  void DblClick() override;
  void AdjustItemHeight();
  void UpdateDirLabel();

  std::unique_ptr<TBitmap> ClosedFolderBitmap;
  std::unique_ptr<TBitmap> OpenFolderBitmap;
  std::unique_ptr<TBitmap> CurrentFolderBitmap;

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
  friend class TDriveComboBox;
  std::string currentDirectory_;
  TFileListBox *fileList_ = nullptr;
  TDriveComboBox *driveComboLink_ = nullptr;
  TCustomLabel *dirLabel_ = nullptr;
  bool inDirectoryChange_ = false;
  bool volumePreservesCase_ = false;
  bool volumeCaseSensitive_ = false;
};

// --- TFileListBox -----------------------------------------------------------------------

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

  std::unique_ptr<TBitmap> ExecutableBitmap;
  std::unique_ptr<TBitmap> FolderBitmap;
  std::unique_ptr<TBitmap> UnknownFileBitmap;

 protected:
  virtual void LoadFileBitmaps();
  virtual void NotifyChange();
  // Whether an entry with these attributes is listed under FileType.
  bool ShowsAttributes(DWORD Attributes) const;
  void CreateWnd() override;
  void PaintItem(int Index, RECT Rect, UINT State) override;
  void FontChanged() override;

 private:
  friend class TDirectoryListBox;
  std::string currentDirectory_;
  std::string mask_ = "*.*";
  TFileType fileType_{ftNormal};
  TEdit *fileEdit_ = nullptr;
  TDirectoryListBox *dirListLink_ = nullptr;
  int lastSelIndex_ = -1;
  bool showGlyphs_ = false;
};

// --- TDriveComboBox ---------------------------------------------------------------------

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

  std::unique_ptr<TBitmap> FloppyBitmap;
  std::unique_ptr<TBitmap> FixedBitmap;
  std::unique_ptr<TBitmap> NetworkBitmap;
  std::unique_ptr<TBitmap> CDROMBitmap;
  std::unique_ptr<TBitmap> RAMBitmap;

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
