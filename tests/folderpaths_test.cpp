// Path helpers and the path label, on a directory tree of the test's own in c:\.
#include <gtest/gtest.h>

#include <algorithm>

#include "folderselect/DirectoryListBox.h"
#include "folderselect/DirectorySearch.h"
#include "folderselect/DriveComboBox.h"
#include "folderselect/DriveQueries.h"
#include "folderselect/FileListBox.h"
#include "folderselect/FolderPictures.h"
#include "folderselect/PathHelpers.h"
#include "folderselect/PathLabel.h"
#include "support/TestSupport.h"
#include "toolkit/Form.h"

namespace {

const std::string kRoot = "C:\\ftest_paths";

class PathHelpers : public testing::Test {
 protected:
  void SetUp() override {
    RemoveTree(kRoot);
    ASSERT_TRUE(ForceDirectories(kRoot + "\\Data\\Windows\\System"));
    ForceDirectories(kRoot + "\\Data\\Other");
    WriteTextFile(kRoot + "\\Data\\Windows\\win.ini", "[x]\r\n");
    ChDir(kRoot + "\\Data");
  }
  void TearDown() override {
    ChDir("C:\\");
    RemoveTree(kRoot);
  }
};

struct SplitCase {
  const char *typed;
  char drive;
  const char *dirPart;
  const char *filePart;
};

TEST_F(PathHelpers, SplitEditPathSeparatesDriveDirectoryAndFile) {
  const SplitCase cases[] = {
      {"[Windows]", 'C', "\\ftest_paths\\Data\\Windows", ""},
      {"C:\\ftest_paths\\Data\\Windows\\*.txt", 'C', "\\ftest_paths\\Data\\Windows", "*.txt"},
      {"C:\\ftest_paths\\Data\\Windows\\System", 'C', "\\ftest_paths\\Data\\Windows\\System", ""},
      {"C:\\ftest_paths\\Data\\Windows\\win.ini", 'C', "\\ftest_paths\\Data\\Windows", "win.ini"},
      {"Windows\\win.ini", 'C', "Windows", "win.ini"},
      {"\\ftest_paths", 'C', "\\ftest_paths", ""},
      {"C:\\", 'C', "\\", ""},
      {"*.ini", 'C', "\\ftest_paths\\Data", "*.ini"},
      // Typed with forward slashes, as many people do.
      {"C:/ftest_paths/Data/Windows/win.ini", 'C', "\\ftest_paths\\Data\\Windows", "win.ini"},
      {"Windows/System", 'C', "Windows\\System", ""},
      {"/ftest_paths/Data/", 'C', "\\ftest_paths\\Data", ""},
  };
  for (const SplitCase &c : cases) {
    char drive = '?';
    std::string dir, file;
    SplitEditPath(c.typed, drive, dir, file);
    EXPECT_EQ(drive, c.drive) << c.typed;
    EXPECT_EQ(dir, c.dirPart) << c.typed;
    EXPECT_EQ(file, c.filePart) << c.typed;
    EXPECT_EQ(GetCurrentDir(), kRoot + "\\Data") << "current directory after " << c.typed;
  }
}

TEST_F(PathHelpers, SplitEditPathRaisesForMissingDirectoriesAndRestoresTheCurrentOne) {
  const char *missing[] = {"[Nowhere]", "C:\\ftest_paths\\Nowhere\\*.txt", "C:\\ftest_paths\\Data\\Nowhere",
                           "Windows\\win.ini\\x"};
  for (const char *typed : missing) {
    char drive;
    std::string dir, file;
    EXPECT_THROW(SplitEditPath(typed, drive, dir, file), EInOutError) << typed;
    EXPECT_EQ(GetCurrentDir(), kRoot + "\\Data") << typed;
  }
}

// A directory change reads a folder once for every list that follows it, and only then.
TEST_F(PathHelpers, AReadScopeAnswersRepeatedSearchesAndForgetsThemAtItsEnd) {
  using Names = std::vector<std::string>;
  auto names = [](const std::string &pattern) {
    Names n;
    ForEachDirectoryEntry(pattern, [&n](DWORD, const char *name) { n.push_back(name); });
    std::sort(n.begin(), n.end());
    return n;
  };
  const std::string windows = kRoot + "\\Data\\Windows\\*.*";
  const Names first = {".", "..", "System", "win.ini"};
  {
    TDirectoryReadScope outer;
    EXPECT_EQ(names(windows), first);
    WriteTextFile(kRoot + "\\Data\\Windows\\new.txt", "x");
    {
      TDirectoryReadScope inner;
      EXPECT_EQ(names("Windows\\*.*"), first);  // the same folder by a relative name
    }
    EXPECT_EQ(names(windows), first);
    // A search started while the entries of another are being walked.
    Names nested;
    ForEachDirectoryEntry(windows, [&](DWORD, const char *name) {
      if (std::string(name) == "System") nested = names(kRoot + "\\Data\\*.*");
    });
    EXPECT_EQ(nested, (Names{".", "..", "Other", "Windows"}));
  }
  EXPECT_EQ(names(windows), (Names{".", "..", "System", "new.txt", "win.ini"}));
}

TEST_F(PathHelpers, TheCurrentDriveMeansTheProcesssOwnDirectory) {
  // The process moves without ChDir (as a host calling the system would): what ChDir
  // recorded for drive C is stale now.
  const std::string here = kRoot + "\\Data\\Windows";
  for (const char *drive : {"C:", "c:"}) {
    ASSERT_TRUE(SetCurrentDirectoryA(here.c_str()));
    ChDir(drive);
    EXPECT_EQ(GetCurrentDir(), here) << drive;
  }
  ASSERT_TRUE(SetCurrentDirectoryA(here.c_str()));
  char d;
  std::string dir, file;
  SplitEditPath("*.ini", d, dir, file);
  EXPECT_EQ(dir, "\\ftest_paths\\Data\\Windows");
  EXPECT_EQ(GetCurrentDir(), here);
}

TEST(PathText, JoinPath) {
  EXPECT_EQ(JoinPath("C:\\", "*.*"), "C:\\*.*");
  EXPECT_EQ(JoinPath("C:\\Windows", "*.*"), "C:\\Windows\\*.*");
  EXPECT_EQ(JoinPath("\\\\srv\\share\\", "a"), "\\\\srv\\share\\a");
}

TEST(PathText, FileNamesCompareByTheirCharactersIgnoringCaseOnly) {
  // In the Windows code page 1252: \xDF sharp s, \xAD soft hyphen, \xC4/\xE4 A with
  // diaeresis, \xFF/\x9F y with diaeresis, \xB5 micro sign (its upper case is not in the
  // code page), \xE9 e with acute.
  const struct {
    const char *a, *b;
    bool same;
  } cases[] = {
      {"stra\xDF" "e", "strasse", false},
      {"stra\xDF" "e.txt", "STRASSE.TXT", false},
      {"a\xAD" "b", "ab", false},
      {"r\xE9sum\xE9", "resume", false},
      {"\xB5", "M", false},
      {"\xB5", "m", false},
      {"x.txt", "x.txt ", false},
      {"Alpha", "Alpi", false},
      {"", "a", false},
      {"Stra\xDF" "e", "STRA\xDF" "E", true},
      {"\xC4rger.txt", "\xE4RGER.TXT", true},
      {"\xFF", "\x9F", true},
      {"C:\\Windows\\System", "c:\\WINDOWS\\system", true},
      {"", "", true},
  };
  for (const auto &c : cases) {
    int ab = AnsiCompareFileName(c.a, c.b), ba = AnsiCompareFileName(c.b, c.a);
    EXPECT_EQ(ab == 0, c.same) << c.a << " / " << c.b;
    EXPECT_EQ(ab < 0, ba > 0) << "a consistent order: " << c.a << " / " << c.b;
  }
}

TEST(PathText, DropFirstDirectoryStepsFromTheLeft) {
  std::string dir = "\\Alpha\\Beta\\";
  DropFirstDirectory(dir);
  EXPECT_EQ(dir, "\\...\\Beta\\");
  DropFirstDirectory(dir);
  EXPECT_EQ(dir, "\\...\\");
  dir = "\\";
  DropFirstDirectory(dir);
  EXPECT_EQ(dir, "");
  dir = "Alpha\\Beta\\";
  DropFirstDirectory(dir);
  EXPECT_EQ(dir, "...\\Beta\\");
}

class ShortenPath : public testing::Test {
 protected:
  TMemoryDC dc_;
  TCanvas canvas_{dc_.Get()};
  int Width(const std::string &s) { return canvas_.TextWidth(s); }
};

TEST_F(ShortenPath, StopsAtTheFirstFormThatFits) {
  const std::string steps[] = {"C:\\Alpha\\Beta\\Gamma\\x.txt", "C:\\...\\Beta\\Gamma\\x.txt",
                               "C:\\...\\Gamma\\x.txt", "C:\\...\\x.txt", "...\\x.txt", "x.txt"};
  for (const std::string &expected : steps) {
    EXPECT_EQ(ShortenPathToWidth(steps[0], canvas_, Width(expected)), expected);
  }
  EXPECT_EQ(ShortenPathToWidth(steps[0], canvas_, 1), "x.txt") << "the name is never cut";
  EXPECT_EQ(ShortenPathToWidth("", canvas_, 0), "");
}

TEST_F(ShortenPath, NeverADriveRelativeOrEmptyText) {
  // At every width: no "C:x.txt" (which names another file) and never nothing at all; the
  // last part (a directory's own name with its backslash) is always kept.
  const struct {
    const char *path, *kept;
  } cases[] = {
      {"C:\\x.txt", "x.txt"},
      {"C:\\Windows", "Windows"},
      {"C:\\Windows\\", "Windows\\"},
      {"C:\\Alpha\\Beta\\", "Beta\\"},
      {"C:\\Alpha\\x.txt", "x.txt"},
      {"C:\\", "C:\\"},
  };
  for (const auto &c : cases) {
    std::string path = c.path, kept = c.kept;
    for (int width = 0; width <= Width(path) + 1; ++width) {
      std::string shown = ShortenPathToWidth(path, canvas_, width);
      EXPECT_FALSE(shown.size() >= 2 && shown[1] == ':' && (shown.size() == 2 || shown[2] != '\\'))
          << path << " at " << width << ": " << shown;
      ASSERT_GE(shown.size(), kept.size()) << path << " at " << width;
      EXPECT_EQ(shown.substr(shown.size() - kept.size()), kept) << path << " at " << width;
    }
    EXPECT_EQ(ShortenPathToWidth(path, canvas_, 1), kept) << path;
    EXPECT_EQ(ShortenPathToWidth(path, canvas_, Width(path)), path) << path;
  }
}

TEST_F(ShortenPath, RelativePathsGetNoLeadingBackslash) {
  std::string path = "Alpha\\Beta\\Gamma\\x.txt";
  EXPECT_EQ(ShortenPathToWidth(path, canvas_, Width(path)), path);
  EXPECT_EQ(ShortenPathToWidth(path, canvas_, Width("...\\Gamma\\x.txt")), "...\\Gamma\\x.txt");
  EXPECT_EQ(ShortenPathToWidth(path, canvas_, Width("...\\x.txt")), "...\\x.txt");
}

TEST(Drives, VolumeLabelFollowsTheCaseOfTheLetterAndFailsQuietly) {
  std::string lower = DriveVolumeLabel('c'), upper = DriveVolumeLabel('C');
  ASSERT_GE(lower.size(), 2u);
  EXPECT_EQ(lower.front(), '[');
  EXPECT_EQ(lower.back(), ']');
  EXPECT_EQ(lower, AnsiLowerCase(lower));
  EXPECT_EQ(upper, AnsiUpperCase(lower));
  UINT before = SetErrorMode(0);
  SetErrorMode(before);
  DWORD drives = GetLogicalDrives();
  char absent = 0;
  for (char d = 'q'; d <= 'y' && !absent; ++d)
    if (!(drives & (1u << (d - 'a')))) absent = d;
  ASSERT_NE(absent, 0);
  EXPECT_EQ(DriveVolumeLabel(absent), "[]");
  // Not redirected: the volume label stands in for the network name.
  EXPECT_EQ(DriveNetworkName(absent), "[]");
  EXPECT_EQ(DriveNetworkName('c'), lower);
  EXPECT_EQ(SetErrorMode(before), before) << "error mode restored";
}

TEST(Fonts, FontItemHeightIsTheCellHeight) {
  TFont small, large;
  small.SetHeight(-11);
  large.SetHeight(-24);
  TScreenDC dc;
  TEXTMETRICA tm;
  {
    TSelectGuard sel(dc.Get(), large.Handle());
    GetTextMetricsA(dc.Get(), &tm);
  }
  EXPECT_EQ(FontItemHeight(large), tm.tmHeight);
  EXPECT_LT(FontItemHeight(small), FontItemHeight(large));
}

// Renders a control's client area through WM_PRINTCLIENT into a 32-bit bitmap.
std::vector<COLORREF> Render(TControl &c, int w, int h) {
  TScreenDC screen;
  TMemoryDC mem(screen.Get());
  TGdiHandle<HBITMAP> bmp(CreateCompatibleBitmap(screen.Get(), w, h));
  TSelectGuard sel(mem.Get(), bmp.Get());
  SendMessageA(c.Handle(), WM_PRINTCLIENT, WPARAM(mem.Get()), PRF_CLIENT);
  std::vector<COLORREF> px;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) px.push_back(GetPixel(mem.Get(), x, y));
  return px;
}

TEST(PathLabelPaint, DrawsTheShortenedCaptionWithoutPrefixes) {
  TForm *form = CreateForm<TForm>(nullptr);
  auto *label = new TPathLabel(form);
  label->SetParent(form);
  label->SetBounds(0, 0, 120, 16);
  label->SetColor(clWhite);
  std::string path = "C:\\Alpha & Co\\Beta\\Gamma\\readme.txt";
  label->SetCaption(path);
  EXPECT_EQ(label->Width(), 120) << "keeps its size";
  std::string shown = ShortenPathToWidth(path, label->Canvas(), 120);
  EXPECT_NE(shown, path);
  EXPECT_EQ(shown.substr(0, 6), "C:\\...");
  // The same text drawn by hand must give the same pixels.
  auto got = Render(*label, 120, 16);
  TScreenDC screen;
  TMemoryDC mem(screen.Get());
  TGdiHandle<HBITMAP> bmp(CreateCompatibleBitmap(screen.Get(), 120, 16));
  TSelectGuard sel(mem.Get(), bmp.Get());
  RECT rc = {0, 0, 120, 16};
  TGdiHandle<HBRUSH> white(CreateSolidBrush(RGB(255, 255, 255)));
  FillRect(mem.Get(), &rc, white.Get());
  {
    TSelectGuard font(mem.Get(), label->Font().Handle());
    SetBkMode(mem.Get(), TRANSPARENT);
    SetTextColor(mem.Get(), ColorToRGB(label->Font().Color()));
    DrawTextA(mem.Get(), shown.c_str(), int(shown.size()), &rc, DT_NOPREFIX);
  }
  int differing = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 120; ++x)
      if (GetPixel(mem.Get(), x, y) != got[size_t(y * 120 + x)]) ++differing;
  EXPECT_EQ(differing, 0);
  delete form;
}

}  // namespace
