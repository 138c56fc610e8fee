// The directory list on real windows and a directory tree of the test's own in c:\,
// driven by clicks (real input: ClickItem), keys and typed paths; its pictures, and the
// file list and label linked to it.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

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
#include "toolkit/Button.h"
#include "toolkit/Edit.h"

#include "support/FolderListsFixture.h"
#include "support/TestSupport.h"

namespace {

// --- directory list ---------------------------------------------------------------------

TEST_F(FolderLists, DirectoryListShowsPathLevelsAndVisibleSubdirectories) {
  auto *dirs = Make<TDirectoryListBox>(10);
  EXPECT_EQ(dirs->CurrentDirectory(), kRoot + "\\Alpha");
  EXPECT_EQ(ItemsOf(*dirs), (Names{"C:\\", "ftest_lists", "Alpha", "beta", "delta", "Gamma"}));
  TBitmap *kinds[] = {dirs->OpenFolderBitmap.get(), dirs->OpenFolderBitmap.get(),
                      dirs->CurrentFolderBitmap.get(), dirs->ClosedFolderBitmap.get(),
                      dirs->ClosedFolderBitmap.get(), dirs->ClosedFolderBitmap.get()};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(dirs->Objects(i), kinds[i]) << "item " << i;
  EXPECT_EQ(dirs->ItemIndex(), 2);
  EXPECT_EQ(dirs->ItemPath(0), "C:\\");
  EXPECT_EQ(dirs->ItemPath(1), "C:\\ftest_lists");
  EXPECT_EQ(dirs->ItemPath(2), kRoot + "\\Alpha");
  EXPECT_EQ(dirs->ItemPath(5), kRoot + "\\Alpha\\Gamma");
  EXPECT_EQ(dirs->ItemPath(99), "");
  EXPECT_EQ(dirs->ItemPath(-1), "");
  EXPECT_EQ(dirs->DriveLetter(), 'C');
  EXPECT_GE(dirs->ItemHeight(), 16);

  dirs->SetCurrentDirectory(kRoot + "\\Empty");
  EXPECT_EQ(ItemsOf(*dirs), (Names{"C:\\", "ftest_lists", "Empty"})) << "no sub-directories";
  EXPECT_EQ(dirs->ItemIndex(), 2);
  EXPECT_EQ(GetCurrentDir(), kRoot + "\\Empty") << "the process follows the list";
}

TEST_F(FolderLists, DirectoryListAtTheRootSelectsTheFirstSubdirectoryOnlyAtCreation) {
  ChDir("C:\\");
  auto *dirs = Make<TDirectoryListBox>(10);
  ASSERT_GE(dirs->Count(), 2);
  EXPECT_EQ(dirs->Items(0), "C:\\");
  EXPECT_EQ(dirs->Objects(0), dirs->CurrentFolderBitmap.get());
  EXPECT_EQ(dirs->ItemIndex(), 1);
  int changes = 0;
  dirs->OnChange = [&](TComponent *) { ++changes; };
  dirs->SetCurrentDirectory(kRoot);
  dirs->SetCurrentDirectory("C:\\");
  EXPECT_EQ(dirs->ItemIndex(), 0);
  EXPECT_EQ(changes, 2);
}

TEST_F(FolderLists, DirectoryListIgnoresSamePathAndRejectsMissingOnesUnchanged) {
  auto *dirs = Make<TDirectoryListBox>(10);
  int changes = 0;
  dirs->OnChange = [&](TComponent *) { ++changes; };
  dirs->SetCurrentDirectory(AnsiLowerCase(kRoot + "\\Alpha"));
  dirs->SetCurrentDirectory("");
  EXPECT_EQ(changes, 0);
  for (const std::string &bad : {kRoot + "\\Nowhere", kRoot + "\\Alpha\\notes.txt\\x", std::string("Q:\\nothing")}) {
    EXPECT_THROW(dirs->SetCurrentDirectory(bad), EInOutError) << bad;
    EXPECT_EQ(dirs->CurrentDirectory(), kRoot + "\\Alpha") << bad;
    EXPECT_EQ(GetCurrentDir(), kRoot + "\\Alpha") << bad;
    EXPECT_EQ(dirs->Count(), 6) << bad;
  }
  EXPECT_EQ(changes, 0);
  // The same letter in the other case changes nothing.
  dirs->SetDriveLetter('c');
  EXPECT_EQ(changes, 0);
  // A relative name is resolved against the process's directory, which the list keeps
  // at its own; elsewhere it is not found.
  dirs->SetCurrentDirectory("beta");
  EXPECT_EQ(dirs->CurrentDirectory(), kRoot + "\\Alpha\\beta");
  EXPECT_EQ(changes, 1);
  ChDir("C:\\");
  EXPECT_THROW(dirs->SetCurrentDirectory("..\\Gamma"), EInOutError);
  EXPECT_EQ(dirs->CurrentDirectory(), kRoot + "\\Alpha\\beta");
}

TEST_F(FolderLists, ADirectoryTheProcessCannotNameIsNotEntered) {
  // Two sub-directories whose full paths (260 and 280 characters) are too long to be read
  // back as the process's current directory; the second one is reachable only by a
  // relative name.  Made and removed by relative names for that reason.
  std::string parent = kRoot + "\\Deep\\" + std::string(70, 'd') + "\\" + std::string(70, 'e');
  ASSERT_TRUE(ForceDirectories(parent));
  const std::string names[] = {std::string(259 - parent.size(), 'n'), std::string(279 - parent.size(), 'r')};
  ChDir(parent);
  for (const std::string &n : names) ASSERT_TRUE(CreateDirectoryA(n.c_str(), nullptr)) << n.size();
  struct Cleanup {
    const std::string &parent;
    const std::string (&names)[2];
    ~Cleanup() {
      SetCurrentDirectoryA(parent.c_str());
      for (const std::string &n : names) RemoveDirectoryA(n.c_str());
      SetCurrentDirectoryA("C:\\");
    }
  } cleanup{parent, names};
  auto *dirs = Make<TDirectoryListBox>(10);
  auto *files = Make<TFileListBox>(200);
  ASSERT_EQ(dirs->CurrentDirectory(), parent);
  const int items = dirs->Count();
  int changes = 0;
  dirs->OnChange = [&](TComponent *) { ++changes; };
  files->OnChange = [&](TComponent *) { ++changes; };
  for (const std::string &name : names) {
    const struct {
      const char *route;
      std::function<void()> attempt;
    } routes[] = {
        {"ChDir", [&] { ChDir(name); }},
        {"directory list, relative", [&] { dirs->SetCurrentDirectory(name); }},
        {"directory list, full path", [&] { dirs->SetCurrentDirectory(parent + "\\" + name); }},
        {"directory list, its item",
         [&] {
           dirs->SetItemIndex(ItemPosition(*dirs, name));
           dirs->OpenSelectedItem();
         }},
        {"file list, relative", [&] { files->SetCurrentDirectory(name); }},
        {"file list, typed", [&] { files->ApplyTypedPath(name); }},
    };
    for (const auto &r : routes) {
      EXPECT_THROW(r.attempt(), EInOutError) << r.route << ", " << name.size();
      EXPECT_EQ(GetCurrentDir(), parent) << r.route << ", " << name.size();
      EXPECT_EQ(dirs->CurrentDirectory(), parent) << r.route << ", " << name.size();
      EXPECT_EQ(dirs->Count(), items) << r.route << ", " << name.size();
      EXPECT_EQ(files->CurrentDirectory(), parent) << r.route << ", " << name.size();
    }
  }
  EXPECT_EQ(changes, 0);
}

TEST_F(FolderLists, DoubleClickAndEnterOpenTheItem) {
  auto *dirs = Make<TDirectoryListBox>(10);
  ShowForm();
  int dbl = 0;
  dirs->OnDblClick = [&](TComponent *) { ++dbl; };
  ClickItem(*dirs, 3, true);  // beta
  EXPECT_EQ(dbl, 1);
  EXPECT_EQ(dirs->CurrentDirectory(), kRoot + "\\Alpha\\beta");

  // Enter is the list's own, also in a window with a default button.
  auto *ok = Make<TButton>(300, 75, 25);
  ok->SetDefault(true);
  int okClicks = 0;
  ok->OnClick = [&](TComponent *) { ++okClicks; };
  dirs->SetFocus();
  dirs->SetItemIndex(1);  // ftest_lists
  PressEnter(*dirs);
  EXPECT_EQ(okClicks, 0);
  EXPECT_EQ(dirs->CurrentDirectory(), kRoot);

  dirs->SetItemIndex(0);
  PressEnter(*dirs);
  EXPECT_EQ(dirs->CurrentDirectory(), "C:\\") << "item 0 is the drive's root";
}

TEST_F(FolderLists, OpeningADirectoryThatVanishedReportsAndKeepsTheList) {
  BoxRecorder boxes;
  auto *dirs = Make<TDirectoryListBox>(10);
  RemoveDirectoryA((kRoot + "\\Alpha\\delta").c_str());
  dirs->SetItemIndex(4);  // delta
  EXPECT_THROW(dirs->OpenSelectedItem(), EInOutError);
  EXPECT_EQ(dirs->CurrentDirectory(), kRoot + "\\Alpha");
  EXPECT_EQ(GetCurrentDir(), kRoot + "\\Alpha");
  // Through the user's double click the failure goes to the standard error box.
  ShowForm();
  ClickItem(*dirs, 4, true);
  EXPECT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(dirs->CurrentDirectory(), kRoot + "\\Alpha");
}
TEST_F(FolderLists, GlyphsAreTransparentAndIndentedByDepth) {
  auto *dirs = Make<TDirectoryListBox>(10);
  const int w = 200, h = dirs->ItemHeight();
  COLORREF window = ColorToRGB(clWindow), highlight = ColorToRGB(clHighlight);
  // Item, its indent: levels 4 per step from 2, sub-directories one step below "Alpha"
  // (whose path has 2 backslashes).
  const int indents[] = {2, 6, 10, 14, 14, 14};
  for (int i = 0; i < 6; ++i) {
    for (bool selected : {false, true}) {
      COLORREF bg = selected ? highlight : window;
      ItemPicture p = PaintItem(*dirs, i, selected, w, h);
      auto *glyph = static_cast<TBitmap *>(dirs->Objects(i));
      EXPECT_EQ(FirstInk(p, bg), indents[i] + FirstOpaqueColumn(*glyph)) << "item " << i;
      // The corners of the glyph are its blue background: they must take the brush.
      int top = (h - glyph->Height()) / 2;
      EXPECT_EQ(p.At(indents[i], top + glyph->Height() - 1), bg) << "item " << i << " selected " << selected;
      EXPECT_EQ(p.At(indents[i], top), bg) << "item " << i;
      // The text starts 4 pixels after the glyph (its first stroke may sit a pixel in).
      int text = FirstInk(p, bg, indents[i] + glyph->Width());
      EXPECT_GE(text, indents[i] + glyph->Width() + 4) << "item " << i;
      EXPECT_LE(text, indents[i] + glyph->Width() + 6) << "item " << i;
    }
  }
}

TEST_F(FolderLists, OnANetworkPathTheOwnItemIsSelectedAndItsSubdirectoriesOneStepBelow) {
  const char *share = getenv("BOOTLOG_WINE_SHARE");
  if (!share || !DirectoryExists(share)) GTEST_SKIP() << "the prefix has no network share";
  const std::string top = std::string(share) + "\\ftest_lists";
  RemoveTree(top);
  for (const char *sub : {"d1", "d2", "d3", "d4", "d5"}) ASSERT_TRUE(ForceDirectories(top + "\\a\\b\\c\\" + sub));
  ASSERT_TRUE(ForceDirectories(top + "\\sub1\\x"));
  const struct {
    std::string dir;
    std::string selected;
  } cases[] = {
      {top + "\\a\\b\\c", "c"},
      {top + "\\sub1", "sub1"},
      {top, "ftest_lists"},
      {share, std::string(share) + "\\"},
  };
  for (const auto &c : cases) {
    ChDir(c.dir);
    auto *dirs = Make<TDirectoryListBox>(10);
    ASSERT_EQ(AnsiCompareFileName(dirs->CurrentDirectory(), c.dir), 0);
    int index = dirs->ItemIndex();
    EXPECT_EQ(index >= 0 ? dirs->Items(index) : "<none>", c.selected) << c.dir;
    // Its sub-directories one step below it, however many backslashes the path has.
    if (index >= 0 && index + 1 < dirs->Count()) {
      ItemPicture p = PaintItem(*dirs, index + 1, false, 200, dirs->ItemHeight());
      auto *glyph = static_cast<TBitmap *>(dirs->Objects(index + 1));
      EXPECT_EQ(FirstInk(p, ColorToRGB(clWindow)), 4 * (index + 1) + 2 + FirstOpaqueColumn(*glyph)) << c.dir;
    }
    // Enter on it opens what is already open.
    dirs->OpenSelectedItem();
    EXPECT_EQ(AnsiCompareFileName(dirs->CurrentDirectory(), c.dir), 0) << c.dir;
    delete dirs;
  }
  ChDir("C:\\");
  RemoveTree(top);
}

TEST_F(FolderLists, LowerCaseNamesOnVolumesThatDoNotPreserveCase) {
  auto *dirs = Make<TDirectoryListBox>(10);
  // The prefix's c: preserves case: names are shown as spelt.
  EXPECT_TRUE(dirs->VolumePreservesCase());
  EXPECT_EQ(dirs->NameForDisplay("Gamma"), "Gamma");
  EXPECT_EQ(dirs->CompareDirNames("ALPHA", "alpha"), dirs->VolumeCaseSensitive() ? 1 : 0);
}

TEST_F(FolderLists, NamesThatOnlyLookAlikeAreDistinct) {
  // Pairs of distinct names that a linguistic comparison takes for the same: sharp s
  // against "ss", and a name with a soft hyphen against one without.
  const std::pair<std::string, std::string> pairs[] = {{"stra\xDF" "e", "strasse"}, {"a\xAD" "b", "ab"}};
  auto *dirs = Make<TDirectoryListBox>(10);
  auto *files = Make<TFileListBox>(200);
  files->SetFileType(TFileType{ftNormal, ftDirectory});
  for (const auto &p : pairs) {
    for (const std::string &name : {p.first, p.second}) {
      MakeDir(kRoot + "\\Empty\\" + name);
      MakeFile(kRoot + "\\Empty\\" + name + ".txt");
    }
    EXPECT_NE(dirs->CompareDirNames(p.first, p.second), 0) << p.second;
    for (const std::string &name : {p.first, p.second, p.first}) {
      dirs->SetCurrentDirectory(kRoot + "\\Empty\\" + name);
      EXPECT_EQ(dirs->CurrentDirectory(), kRoot + "\\Empty\\" + name);
      EXPECT_EQ(GetCurrentDir(), kRoot + "\\Empty\\" + name);
      files->SetCurrentDirectory(kRoot + "\\Empty\\" + name);
      EXPECT_EQ(files->CurrentDirectory(), kRoot + "\\Empty\\" + name);
    }
    files->SetCurrentDirectory(kRoot + "\\Empty");
    for (const std::string &name : {p.first + ".txt", p.second + ".txt", p.first + ".txt"}) {
      files->SetSelectedName(name);
      EXPECT_EQ(files->SelectedName(), name);
    }
  }
}

// --- links ------------------------------------------------------------------------------

// Without a clock: a change of folder reads the file system as often for a folder of
// hundreds of entries as for one of two (the directory list and the file list that
// follows it share one reading of the new folder).
TEST_F(FolderLists, AChangeOfFolderReadsAsOftenWhateverTheFolderHolds) {
  MakeDir(kRoot + "\\Many");
  for (int i = 0; i < 150; ++i) {
    MakeDir(kRoot + Format("\\Many\\sub%03d", i));
    MakeFile(kRoot + Format("\\Many\\file%03d.txt", i));
  }
  MakeDir(kRoot + "\\Few");
  MakeDir(kRoot + "\\Few\\sub");
  MakeFile(kRoot + "\\Few\\file.txt");
  auto *dirs = Make<TDirectoryListBox>(10);
  auto *files = Make<TFileListBox>(200);
  dirs->SetFileList(files);
  auto readsFor = [&](const std::string &dir) {
    dirs->SetCurrentDirectory(kRoot);
    int before = DirectorySearchesRun();
    dirs->SetCurrentDirectory(dir);
    EXPECT_EQ(files->CurrentDirectory(), dir);
    return DirectorySearchesRun() - before;
  };
  int few = readsFor(kRoot + "\\Few"), many = readsFor(kRoot + "\\Many");
  EXPECT_EQ(files->Count(), 150);
  EXPECT_EQ(many, few) << "reads for 300 entries against 2";
  EXPECT_GE(few, 1);
}

TEST_F(FolderLists, LinkedFileListAndLabelFollowTheDirectoryList) {
  auto *dirs = Make<TDirectoryListBox>(10);
  auto *files = Make<TFileListBox>(200);
  auto *label = new TPathLabel(form);
  label->SetParent(form);
  label->SetBounds(10, 300, 60, 16);
  ChDir(kRoot);
  files->SetCurrentDirectory(kRoot + "\\Empty");
  dirs->SetFileList(files);
  EXPECT_EQ(files->DirListLink(), dirs);
  EXPECT_EQ(files->CurrentDirectory(), kRoot + "\\Empty") << "linking does not move it";
  dirs->SetDirLabel(label);
  EXPECT_EQ(label->Caption(), ShortenPathToWidth(kRoot + "\\Alpha", label->Canvas(), 60)) << "shown at once";
  EXPECT_NE(label->Caption(), kRoot + "\\Alpha");

  dirs->SetCurrentDirectory(kRoot + "\\Alpha\\beta");
  EXPECT_EQ(files->CurrentDirectory(), kRoot + "\\Alpha\\beta");
  EXPECT_EQ(ItemsOf(*files), (Names{"inner.txt"}));
  EXPECT_EQ(label->Caption(), ShortenPathToWidth(kRoot + "\\Alpha\\beta", label->Canvas(), 60));

  // A typed path with a directory goes through the directory list.
  int dirChanges = 0;
  dirs->OnChange = [&](TComponent *) { ++dirChanges; };
  files->ApplyTypedPath(kRoot + "\\Alpha\\*.txt");
  EXPECT_EQ(dirs->CurrentDirectory(), kRoot + "\\Alpha");
  EXPECT_EQ(dirChanges, 1);
  EXPECT_EQ(files->Mask(), "*.txt");

  // Destroyed partners are forgotten, in either order.
  delete label;
  dirs->SetCurrentDirectory(kRoot);
  delete files;
  EXPECT_EQ(dirs->FileList(), nullptr);
  dirs->SetCurrentDirectory(kRoot + "\\Alpha");
  auto *other = Make<TFileListBox>(200);
  dirs->SetFileList(other);
  delete dirs;
  EXPECT_EQ(other->DirListLink(), nullptr);
  other->ApplyTypedPath(kRoot + "\\Empty\\*.*");
  EXPECT_EQ(other->CurrentDirectory(), kRoot + "\\Empty");
}

TEST_F(FolderLists, RelinkingClearsOnlyTheOldBackLink) {
  auto *a = Make<TDirectoryListBox>(10);
  auto *b = Make<TDirectoryListBox>(10);
  auto *files = Make<TFileListBox>(200);
  a->SetFileList(files);
  b->SetFileList(files);
  EXPECT_EQ(files->DirListLink(), b);
  a->SetFileList(nullptr);
  EXPECT_EQ(files->DirListLink(), b) << "a's unlinking must not cut b's link";
  b->SetFileList(nullptr);
  EXPECT_EQ(files->DirListLink(), nullptr);

  auto *combo = Make<TDriveComboBox>(400);
  combo->SetDirList(a);
  EXPECT_EQ(a->DriveComboLink(), combo);
  combo->SetDirList(b);
  EXPECT_EQ(a->DriveComboLink(), nullptr);
  EXPECT_EQ(b->DriveComboLink(), combo);
  delete combo;
  EXPECT_EQ(b->DriveComboLink(), nullptr);
  combo = Make<TDriveComboBox>(400);
  combo->SetDirList(b);
  delete b;
  EXPECT_EQ(combo->DirList(), nullptr);
}

}  // namespace
