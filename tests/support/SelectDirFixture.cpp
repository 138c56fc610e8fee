#include "support/SelectDirFixture.h"

#include <algorithm>
#include <iterator>

#include "support/DialogScript.h"
#include "support/TestSupport.h"
#include "toolkit/Screen.h"

// --- expected layout --------------------------------------------------------------------

int Ppi() { return Screen->PixelsPerInch(); }
int Scaled(int v) { return MulDiv(v, Ppi(), 96); }
// Bounds at 96 dots per inch as the screen's scaling makes them (right and bottom edges
// are scaled, not the sizes).
RECT ScaledBounds(int l, int t, int w, int h) {
  return {Scaled(l), Scaled(t), Scaled(l + w), Scaled(t + h)};
}
RECT BoundsOf(TControl *c) { return {c->Left(), c->Top(), c->Left() + c->Width(), c->Top() + c->Height()}; }
std::string Str(const RECT &r) {
  return Format("(%ld,%ld)-(%ld,%ld)", r.left, r.top, r.right, r.bottom);
}
// Where the window really is, in its parent's client area.
RECT WindowBoundsOf(TControl *c) {
  RECT r;
  GetWindowRect(c->Handle(), &r);
  MapWindowPoints(nullptr, GetParent(c->Handle()), reinterpret_cast<POINT *>(&r), 2);
  return r;
}

// --- file system ------------------------------------------------------------------------

// Every entry below dir, as paths relative to it.
std::set<std::string> TreeOf(const std::string &dir, const std::string &prefix) {
  std::set<std::string> out;
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return out;
  do {
    std::string name = fd.cFileName;
    if (name == "." || name == "..") continue;
    out.insert(prefix + name);
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      auto sub = TreeOf(dir + "\\" + name, prefix + name + "\\");
      out.insert(sub.begin(), sub.end());
    }
  } while (FindNextFileA(h, &fd));
  FindClose(h);
  return out;
}

std::set<std::string> Added(const std::set<std::string> &before, const std::set<std::string> &after) {
  std::set<std::string> d;
  std::set_difference(after.begin(), after.end(), before.begin(), before.end(), std::inserter(d, d.end()));
  return d;
}

std::set<std::string> TopOfC() {
  std::set<std::string> out;
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA("C:\\*", &fd);
  if (h == INVALID_HANDLE_VALUE) return out;
  do out.insert(fd.cFileName);
  while (FindNextFileA(h, &fd));
  FindClose(h);
  return out;
}

std::vector<std::string> PartsOf(const std::string &path) {
  std::vector<std::string> parts;
  std::string part;
  for (char ch : path + "\\") {
    if (ch == '\\' || ch == '/') {
      while (!part.empty() && part.back() == ' ') part.pop_back();
      if (!part.empty() && part.find(':') == std::string::npos) parts.push_back(part);
      part.clear();
    } else {
      part += ch;
    }
  }
  return parts;
}

bool DriveExists(char letter) { return (GetLogicalDrives() >> (UpCase(letter) - 'A')) & 1; }

// The dialog shows dir in its directory list, path label, edit box and file list.
void ExpectShows(TSelectDirDlg &dlg, const std::string &dir) {
  EXPECT_EQ(dlg.DirList->CurrentDirectory(), dir);
  EXPECT_EQ(dlg.DirLabel->Caption(), dir);
  EXPECT_EQ(dlg.DirEdit->Text(), dir);
  EXPECT_EQ(dlg.FileList->CurrentDirectory(), dir);
  EXPECT_EQ(UpCase(dlg.DriveList->DriveLetter()), UpCase(dir[0]));
  EXPECT_EQ(GetCurrentDir(), dir) << "the process follows the dialog";
}
