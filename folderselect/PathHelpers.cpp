#include <algorithm>

#include "folderselect/PathHelpers.h"

namespace {

bool StartsWith(const std::string &s, const std::string &prefix) {
  return s.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

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
