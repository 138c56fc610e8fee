#include <algorithm>

#include "folderselect/DirectorySearch.h"
#include "folderselect/DriveQueries.h"
#include "folderselect/FolderPictures.h"
#include "folderselect/PathHelpers.h"
#include "folderselect/PathLabel.h"

#include <winnetwk.h>

namespace {

bool StartsWith(const std::string &s, const std::string &prefix) {
  return s.compare(0, prefix.size(), prefix) == 0;
}

// Restores the process's error mode at the end of a scope.
class TErrorModeScope {
 public:
  explicit TErrorModeScope(UINT mode) : previous_(SetErrorMode(mode)) {}
  ~TErrorModeScope() { SetErrorMode(previous_); }
  TErrorModeScope(const TErrorModeScope &) = delete;
  TErrorModeScope &operator=(const TErrorModeScope &) = delete;

 private:
  UINT previous_;
};

std::string InDriveCase(char drive, const std::string &name) {
  return BYTE(drive) >= BYTE('a') ? AnsiLowerCaseFileName(name) : AnsiUpperCaseFileName(name);
}

DWORD SystemLogicalDrives() { return GetLogicalDrives(); }
UINT SystemDriveType(const char *root) { return GetDriveTypeA(root); }

const TDriveQueries kSystemDriveQueries = {SystemLogicalDrives, SystemDriveType, DriveVolumeLabel,
                                           DriveNetworkName};
const TDriveQueries *g_driveQueries = &kSystemDriveQueries;

}  // namespace

const TDriveQueries &CurrentDriveQueries() { return *g_driveQueries; }

const TDriveQueries *SetDriveQueries(const TDriveQueries *queries) {
  const TDriveQueries *previous = g_driveQueries;
  g_driveQueries = queries ? queries : &kSystemDriveQueries;
  return previous;
}

std::string NormalizeSlashes(const std::string &Path) {
  // "/" (0x2F) is never the second byte of a double-byte character, so every one of them
  // is a separator.
  std::string r = Path;
  for (char &c : r)
    if (c == '/') c = '\\';
  return r;
}

std::string JoinPath(const std::string &Path, const std::string &Name) {
  return EndsWithBackslash(Path) ? Path + Name : Path + "\\" + Name;
}

void DropFirstDirectory(std::string &Dir) {
  if (Dir == "\\") {
    Dir.clear();
    return;
  }
  bool rooted = !Dir.empty() && Dir[0] == '\\';
  if (rooted) Dir.erase(0, 1);
  if (StartsWith(Dir, "...\\")) Dir.erase(0, 4);
  const char *slash = AnsiStrScan(Dir.c_str(), '\\');
  if (slash) Dir = "...\\" + Dir.substr(size_t(slash - Dir.c_str()) + 1);
  else Dir.clear();
  if (rooted) Dir = "\\" + Dir;
}

std::string ShortenPathToWidth(const std::string &FileName, TCanvas &Canvas, int MaxWidth) {
  std::string result = FileName;
  std::string dir = ExtractFilePath(FileName);
  std::string name = ExtractFileName(FileName);
  if (name.empty() && EndsWithBackslash(dir)) {
    // A directory written with its backslash ("C:\Windows\"): its own name is the part
    // that stays.  A drive's root has no such name and nothing that could go.
    std::string inner = dir.substr(0, dir.size() - 1);
    name = ExtractFileName(inner);
    if (name.empty()) return result;
    name += "\\";
    dir = ExtractFilePath(inner);
  }
  std::string drive;
  if (dir.size() >= 2 && dir[1] == ':') {
    drive = dir.substr(0, 2);
    dir.erase(0, 2);
  }
  while ((!dir.empty() || !drive.empty()) && Canvas.TextWidth(result) > MaxWidth) {
    if (dir == "\\...\\") {
      drive.clear();
      dir = "...\\";
    } else if (dir.empty() || dir == "\\") {
      // The drive never goes alone: "C:x.txt" would name a file in the drive's current
      // directory, not in its root.
      drive.clear();
      dir.clear();
    } else {
      DropFirstDirectory(dir);
    }
    result = drive + dir + name;
  }
  return result;
}

std::string DriveVolumeLabel(char Drive) {
  // A drive without a medium must fail quietly instead of asking the user.
  TErrorModeScope quiet(SEM_FAILCRITICALERRORS);
  char root[4] = {Drive, ':', '\\', 0};
  char name[MAX_PATH + 1] = {0};
  DWORD maxComponent = 0, flags = 0;
  std::string label;
  if (GetVolumeInformationA(root, name, sizeof name, nullptr, &maxComponent, &flags, nullptr, 0))
    label = name;
  return Format("[%s]", InDriveCase(Drive, label).c_str());
}

std::string DriveNetworkName(char Drive) {
  char local[3] = {UpCase(Drive), ':', 0};
  char remote[MAX_PATH + 1] = {0};
  DWORD size = sizeof remote;
  if (WNetGetConnectionA(local, remote, &size) == NO_ERROR) return InDriveCase(Drive, remote);
  return DriveVolumeLabel(Drive);
}

void SplitEditPath(const std::string &EditText, char &Drive, std::string &DirPart,
                   std::string &FilePart) {
  std::string saveDir = CurrentDirOrRaise();
  Drive = saveDir.empty() ? '\0' : saveDir[0];
  std::string driveStr;
  DirPart = NormalizeSlashes(EditText);
  FilePart.clear();
  if (!DirPart.empty() && DirPart[0] == '[' && AnsiLastChar(DirPart) == "]") {
    // A directory entry as the file list shows it.
    DirPart = DirPart.substr(1, DirPart.size() - 2);
  } else {
    driveStr = ExtractFileDrive(DirPart);
    if (!driveStr.empty()) DirPart.erase(0, driveStr.size());
    else driveStr = ExtractFileDrive(saveDir);
    Drive = (driveStr.size() >= 2 && driveStr[1] == ':') ? driveStr[0] : '\0';
  }
  try {
    if (!driveStr.empty() && DirectoryExists(driveStr)) ChDir(driveStr);
    FilePart = ExtractFileName(DirPart);
    if (DirPart.size() == FilePart.size() + 1) {
      DirPart = "\\";
    } else if (DirPart.size() > FilePart.size()) {
      DirPart.resize(DirPart.size() - FilePart.size() - 1);
    } else {
      std::string cur = CurrentDirOrRaise();
      DirPart = cur.substr(ExtractFileDrive(cur).size());
      if (DirPart.empty()) DirPart = "\\";
    }
    if (!DirPart.empty()) ChDir(DirPart);
    if (!FilePart.empty() && !AnsiStrScan(FilePart.c_str(), '*') && !AnsiStrScan(FilePart.c_str(), '?') &&
        !FileExists(FilePart)) {
      // Neither a pattern nor a file: the last part is a directory too.
      ChDir(FilePart);
      DirPart = DirPart.size() == 1 ? "\\" + FilePart : DirPart + "\\" + FilePart;
      FilePart.clear();
    }
    if (Drive == '\0') DirPart = driveStr + DirPart;
  } catch (...) {
    // The failure that brought us here is what the caller must see.
    try {
      if (DirectoryExists(saveDir)) ChDir(saveDir);
    } catch (...) {
    }
    throw;
  }
  if (DirectoryExists(saveDir)) ChDir(saveDir);
}

int FontItemHeight(TFont &Font) {
  TScreenDC dc;
  TEXTMETRICA tm = {};
  {
    TSelectGuard font(dc.Get(), Font.Handle());
    GetTextMetricsA(dc.Get(), &tm);
  }
  return tm.tmHeight;
}

int PathDepth(const std::string &Path) {
  int count = 0;
  for (const char *p = AnsiStrScan(Path.c_str(), '\\'); p; p = AnsiStrScan(p + 1, '\\')) ++count;
  return count;
}

// --- TPathLabel -------------------------------------------------------------------------

TPathLabel::TPathLabel(TComponent *AOwner) : TCustomLabel(AOwner) {
  WordWrap = false;
  SetAutoSize(false);
  ShowAccelChar = false;
}

void TPathLabel::Paint(TCanvas &canvas) {
  RECT rc = ClientRect();
  // A child window cannot let its parent show through; "transparent" takes its colour.
  canvas.BrushStyle = bsSolid;
  canvas.BrushColor = Transparent && Parent() ? Parent()->Color() : Color();
  canvas.FillRect(rc);
  canvas.BrushStyle = bsClear;
  canvas.Font.Assign(Font());
  std::string text = ShortenPathToWidth(Caption(), canvas, rc.right - rc.left);
  UINT format = DT_NOPREFIX | (Alignment == taCenter        ? DT_CENTER
                               : Alignment == taRightJustify ? DT_RIGHT
                                                             : DT_LEFT);
  TSelectGuard font(canvas.Handle(), canvas.Font.Handle());
  SetBkMode(canvas.Handle(), TRANSPARENT);
  SetTextColor(canvas.Handle(), ColorToRGB(Enabled() ? Font().Color() : clGrayText));
  DrawTextA(canvas.Handle(), text.c_str(), int(text.size()), &rc, format);
}

// --- TDirectoryReadScope ----------------------------------------------------------------

namespace {

struct TFoundEntry {
  DWORD attributes;
  std::string name;
};

struct TReadCache {
  int depth = 0;
  std::vector<std::pair<std::string, std::vector<TFoundEntry>>> searches;
};
TReadCache g_readCache;

}  // namespace

TDirectoryReadScope::TDirectoryReadScope() { ++g_readCache.depth; }

TDirectoryReadScope::~TDirectoryReadScope() {
  if (--g_readCache.depth == 0) g_readCache.searches.clear();
}

void ForEachDirectoryEntry(const std::string &pattern,
                           const std::function<void(DWORD attributes, const char *name)> &visit) {
  if (g_readCache.depth == 0) {
    WIN32_FIND_DATAA fd;
    TFindHandle find(FindFirstFileA(pattern.c_str(), &fd));
    if (!find.Valid()) return;
    do visit(fd.dwFileAttributes, fd.cFileName);
    while (FindNextFileA(find.Get(), &fd));
    return;
  }
  std::string key = AnsiUpperCaseFileName(ExpandFileName(pattern));
  auto known = std::find_if(g_readCache.searches.begin(), g_readCache.searches.end(),
                            [&key](const auto &search) { return search.first == key; });
  if (known == g_readCache.searches.end()) {
    // Kept only once the search is complete.
    std::vector<TFoundEntry> found;
    WIN32_FIND_DATAA fd;
    TFindHandle find(FindFirstFileA(pattern.c_str(), &fd));
    if (find.Valid()) {
      do found.push_back({fd.dwFileAttributes, fd.cFileName});
      while (FindNextFileA(find.Get(), &fd));
    }
    g_readCache.searches.emplace_back(key, std::move(found));
    known = g_readCache.searches.end() - 1;
  }
  // A visit may start a search of its own, which may move the list of searches.
  const std::vector<TFoundEntry> entries = known->second;
  for (const TFoundEntry &e : entries) visit(e.attributes, e.name.c_str());
}
