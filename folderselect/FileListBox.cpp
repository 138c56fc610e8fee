#include <algorithm>

#include "folderselect/DirectoryListBox.h"
#include "folderselect/DirectorySearch.h"
#include "folderselect/FileListBox.h"
#include "folderselect/FolderPictures.h"
#include "folderselect/PathHelpers.h"
#include "toolkit/Form.h"

namespace {

const char *const SInvalidFileName = "Ungültiger Dateiname - %s";
const char *const SHiddenFile = "Die Datei ist versteckt - %s";
const char *const SFileNotShown = "Die Datei gehört nicht zu den angezeigten Dateiarten - %s";

bool IsPattern(const std::string &s) {
  return AnsiStrScan(s.c_str(), '*') != nullptr || AnsiStrScan(s.c_str(), '?') != nullptr;
}

bool TextLess(const std::string &a, const std::string &b) { return AnsiCompareText(a, b) < 0; }

// Tells, while entries arrive in any order, whether an entry lands at sorted position
// 100 among those before it.  Only the 101 smallest texts can decide that, so an entry
// costs one comparison once that many have arrived.
class TPosition100Watch {
 public:
  bool Add(const std::string &text) {
    if (smallest_.size() == kKept && !TextLess(text, smallest_.back())) return false;
    // Equal texts go after their equals, as in the list control.
    auto at = std::upper_bound(smallest_.begin(), smallest_.end(), text, TextLess);
    size_t position = size_t(at - smallest_.begin());
    smallest_.insert(at, text);
    if (smallest_.size() > kKept) smallest_.pop_back();
    return position == 100;
  }

 private:
  static constexpr size_t kKept = 101;
  std::vector<std::string> smallest_;
};

// Puts the screen's cursor back at the end of a scope.
class TCursorScope {
 public:
  TCursorScope() : saved_(Screen->Cursor()) {}
  ~TCursorScope() { Screen->SetCursor(saved_); }
  TCursorScope(const TCursorScope &) = delete;
  TCursorScope &operator=(const TCursorScope &) = delete;

 private:
  TCursor saved_;
};

}  // namespace

TFileListBox::TFileListBox(TComponent *AOwner) : TCustomListBox(AOwner) {
  SetWidth(145);
  fileType_ = TFileType{ftNormal};
  currentDirectory_ = GetCurrentDir();
  mask_ = "*.*";
  SetMultiSelect(false);
  lastSelIndex_ = -1;
  LoadFileBitmaps();
  SetSorted(true);
  AdjustItemHeight();
}

TFileListBox::~TFileListBox() {
  // The window's items point at the pictures, which go with the members: it goes first.
  if (HandleAllocated()) TControl::DestroyWnd();
}

void TFileListBox::LoadFileBitmaps() {
  ExecutableBitmap = ModuleBitmap("EXECUTABLE");
  FolderBitmap = ModuleBitmap("CLOSEDFOLDER");
  UnknownFileBitmap = ModuleBitmap("UNKNOWNFILE");
}

void TFileListBox::CreateWnd() {
  TCustomListBox::CreateWnd();
  if (HandleAllocated()) ReadFileEntries();
}

bool TFileListBox::ShowsAttributes(DWORD Attributes) const {
  DWORD attrMask = 0;
  for (int a = ftReadOnly; a <= ftArchive; ++a)
    if (fileType_.Contains(TFileAttr(a))) attrMask |= DWORD(1) << a;
  // The search leaves out hidden, system, volume and directory entries unless asked.
  if (Attributes & 0x1E & ~attrMask) return false;
  return fileType_.Contains(ftNormal) || (Attributes & attrMask) != 0;
}

struct TFileListBox::TEntry {
  std::string text;
  TBitmap *bitmap;
};

void TFileListBox::ReadFileEntries() {
  if (!HandleAllocated()) return;
  ChDir(currentDirectory_);
  Clear();
  {
    TCursorScope cursor;  // ends the hourglass of a long listing
    std::vector<TEntry> entries = MatchingEntries();
    ShowEntries(entries);
  }
  NotifyChange();
}

TFileListBox::TEntry TFileListBox::EntryFor(DWORD Attributes, const char *Name) const {
  if (Attributes & FILE_ATTRIBUTE_DIRECTORY)
    return {Format("[%s]", Name), showGlyphs_ ? FolderBitmap.get() : nullptr};
  std::string ext = AnsiLowerCase(ExtractFileExt(Name));
  bool program = ext == ".exe" || ext == ".com" || ext == ".bat" || ext == ".pif";
  return {Name, program ? ExecutableBitmap.get() : UnknownFileBitmap.get()};
}

std::vector<TFileListBox::TEntry> TFileListBox::MatchingEntries() const {
  std::vector<TEntry> entries;
  TPosition100Watch watch;
  bool hourglass = false;
  // Each of the mask's patterns, separated by ";", is searched for in turn.
  size_t start = 0;
  while (start <= mask_.size()) {
    size_t end = mask_.find(';', start);
    if (end == std::string::npos) end = mask_.size();
    std::string pattern = mask_.substr(start, end - start);
    start = end + 1;
    if (pattern.empty()) continue;
    ForEachDirectoryEntry(pattern, [&](DWORD attr, const char *name) {
      if (!ShowsAttributes(attr)) return;
      entries.push_back(EntryFor(attr, name));
      if (!hourglass && watch.Add(entries.back().text)) {
        hourglass = true;
        Screen->SetCursor(crHourGlass);
      }
    });
  }
  return entries;
}

void TFileListBox::ShowEntries(std::vector<TEntry> &Entries) {
  // Sorted here once, in the order the list's own search keeps (ignoring case), and
  // appended in that order: the list need not look up each item's place among the ones
  // before it, and equal texts stay in the order they were found.
  std::stable_sort(Entries.begin(), Entries.end(),
                   [](const TEntry &a, const TEntry &b) { return TextLess(a.text, b.text); });
  size_t bytes = 0;
  for (auto &e : Entries) bytes += e.text.size() + 1;
  ReserveItems(int(Entries.size()), bytes);
  BeginUpdate();
  try {
    for (auto &e : Entries) AppendItem(e.text, e.bitmap);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TFileListBox::PaintItem(int Index, RECT Rect, UINT State) {
  TCanvas &canvas = Canvas();
  canvas.FillRect(Rect);
  int offset = 2;
  auto *bitmap = static_cast<TBitmap *>(Objects(Index));
  if (showGlyphs_ && bitmap) {
    DrawGlyph(canvas, *bitmap, Rect, Rect.left + 2);
    offset = bitmap->Width() + 6;
  }
  canvas.TextOut(Rect.left + offset, Rect.top, Items(Index));
}

void TFileListBox::SetCurrentDirectory(const std::string &NewDirectory) {
  if (AnsiCompareFileName(NewDirectory, currentDirectory_) == 0) return;
  // A relative name is meant relative to the list's own directory.
  if (DirectoryExists(currentDirectory_)) ChDir(currentDirectory_);
  ChDir(NewDirectory);
  currentDirectory_ = CurrentDirOrRaise();
  ReadFileEntries();
}

void TFileListBox::SetMask(const std::string &Value) {
  if (Value == mask_) return;
  mask_ = Value;
  ReadFileEntries();
}

void TFileListBox::SetFileType(TFileType Value) {
  if (Value == fileType_) return;
  fileType_ = Value;
  ReadFileEntries();
}

void TFileListBox::SetShowGlyphs(bool Value) {
  if (Value == showGlyphs_) return;
  showGlyphs_ = Value;
  if (showGlyphs_ && ExecutableBitmap && ExecutableBitmap->Height() + 1 > ItemHeight()) AdjustItemHeight();
  Invalidate();
}

void TFileListBox::AdjustItemHeight() {
  SetItemHeight(PictureItemHeight(Font(), showGlyphs_ ? ExecutableBitmap.get() : nullptr, 1));
}

std::string TFileListBox::SelectedName() const {
  int index = ItemIndex();
  int count = Count();
  if (index >= 0 && count > 0 && index < count && Selected(index)) return Items(index);
  return std::string();
}

void TFileListBox::SetSelectedName(const std::string &NewName) {
  if (AnsiCompareFileName(NewName, SelectedName()) == 0) return;
  // The list control's own exact search compares linguistically (a name with a sharp s
  // would find the one spelt with "ss"); names are matched as file names instead, in the
  // control's order: from item 1 on, item 0 last.
  int found = -1;
  for (int k = 1, n = Count(); k <= n && found < 0; ++k) {
    int i = k % n;
    if (AnsiCompareFileName(Items(i), NewName) == 0) found = i;
  }
  SetItemIndex(found);
  NotifyChange();
}

std::string TFileListBox::SelectedPath() const {
  std::string name = SelectedName();
  return name.empty() ? std::string() : JoinPath(currentDirectory_, name);
}

void TFileListBox::NotifyChange() {
  lastSelIndex_ = ItemIndex();
  if (fileEdit_) {
    std::string name = SelectedName();
    fileEdit_->SetText(name.empty() ? mask_ : name);
    fileEdit_->SelectAll();
  }
  if (OnChange) OnChange(this);
}

void TFileListBox::ApplyTypedPath(const std::string &Typed) {
  const std::string EnteredPath = NormalizeSlashes(Typed);
  if (EnteredPath.empty() || AnsiCompareFileName(SelectedPath(), EnteredPath) == 0) return;
  char drive = '\0';
  std::string dirPart, filePart;
  SplitEditPath(EnteredPath, drive, dirPart, filePart);
  if (!IsPattern(filePart)) {
    // The system drops trailing dots and blanks from a name ("notes.txt." is notes.txt);
    // the list shows the name as it is stored.
    size_t end = filePart.find_last_not_of(". ");
    if (end != std::string::npos) filePart.resize(end + 1);
  }
  if (dirListLink_) dirListLink_->SetCurrentDirectory(EnteredPath);
  else if (drive != '\0') SetCurrentDirectory(Format("%c:%s", drive, dirPart.c_str()));
  else SetCurrentDirectory(dirPart);
  if (IsPattern(filePart)) {
    SetMask(filePart);
  } else if (!filePart.empty()) {
    SetSelectedName(filePart);
    if (!FileExists(filePart)) throw EInvalidOperation(Format(SInvalidFileName, EnteredPath.c_str()));
    // A file that exists but is not listed is shown by making it the mask, provided the
    // list shows files of its kind at all; a mask would show nothing otherwise.
    if (SelectedName().empty()) {
      DWORD attr = GetFileAttributesA(filePart.c_str());
      if (attr != INVALID_FILE_ATTRIBUTES && !ShowsAttributes(attr)) {
        bool hidden = (attr & FILE_ATTRIBUTE_HIDDEN) && !fileType_.Contains(ftHidden);
        throw EInvalidOperation(Format(hidden ? SHiddenFile : SFileNotShown, EnteredPath.c_str()));
      }
      SetMask(filePart);
      SetSelectedName(filePart);
    }
  }
}

void TFileListBox::Click() {
  TCustomListBox::Click();
  if (ItemIndex() != lastSelIndex_) NotifyChange();
}

void TFileListBox::FontChanged() {
  TCustomListBox::FontChanged();
  AdjustItemHeight();
}

void TFileListBox::SetFileEdit(TEdit *Value) {
  fileEdit_ = Value;
  if (Value) {
    Value->FreeNotification(this);
    std::string name = SelectedName();
    Value->SetText(name.empty() ? mask_ : name);
  }
}

void TFileListBox::LinkDirList(TDirectoryListBox *List) {
  dirListLink_ = List;
}

void TFileListBox::UnlinkDirList(const TDirectoryListBox *List) {
  // The box may have been linked to another list since.
  if (dirListLink_ == List) dirListLink_ = nullptr;
}

void TFileListBox::Notification(TComponent *AComponent, TOperation Operation) {
  TCustomListBox::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == fileEdit_) fileEdit_ = nullptr;
  else if (AComponent == dirListLink_) dirListLink_ = nullptr;
}
