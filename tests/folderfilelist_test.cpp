// The file list on real windows in a directory tree of the test's own in c:\: masks and
// attributes, pictures, selection by click (real input: ClickItem) and the linked edit,
// typed paths.
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

// --- file list --------------------------------------------------------------------------

TEST_F(FolderLists, FileListSelectsByMaskAndAttributes) {
  auto *files = Make<TFileListBox>(200);
  EXPECT_EQ(ItemsOf(*files), (Names{"a.exe.txt", "arch.txt", "data.log", "notes.txt", "readme", "ro.txt",
                                    "run.Bat", "SETUP.EXE", "x.pif"}));
  struct Case {
    TFileType type;
    Names expected;
  } cases[] = {
      {TFileType{ftReadOnly}, {"ro.txt"}},
      {TFileType{ftDirectory}, {"[.]", "[..]", "[beta]", "[delta]", "[Gamma]"}},
      {TFileType{}, {}},
      // A hidden directory needs ftDirectory as well.
      {TFileType{ftHidden}, {"hid.txt"}},
      {TFileType{ftHidden, ftDirectory}, {"[.]", "[..]", "[beta]", "[delta]", "[Gamma]", "hid.txt", "[Secret]"}},
  };
  for (auto &c : cases) {
    files->SetFileType(c.type);
    Names got = ItemsOf(*files);
    // The collation of punctuation is the system's; only the order ignoring case counts.
    std::stable_sort(c.expected.begin(), c.expected.end(),
                     [](const std::string &a, const std::string &b) { return AnsiCompareText(a, b) < 0; });
    EXPECT_EQ(got, c.expected) << "file type " << int(c.type.Bits);
  }
  files->SetFileType(TFileType{ftNormal, ftDirectory});
  EXPECT_EQ(files->Count(), 9 + 5);
  EXPECT_EQ(TFileType({ftNormal}).Bits, 64);

  int reads = 0;
  files->OnChange = [&](TComponent *) { ++reads; };
  files->SetFileType(TFileType{ftNormal});
  files->SetMask("*.txt;n*");
  EXPECT_EQ(ItemsOf(*files), (Names{"a.exe.txt", "arch.txt", "notes.txt", "notes.txt", "ro.txt"}));
  files->SetMask("*.TXT;N*");
  files->SetMask("*.TXT;N*");
  EXPECT_EQ(reads, 3) << "a new mask re-reads even when only its case changed";
  files->SetMask("");
  EXPECT_EQ(files->Count(), 0);
  files->SetMask(";*.log;");
  EXPECT_EQ(ItemsOf(*files), (Names{"data.log"}));
}

TEST_F(FolderLists, FileListPicturesAndHeight) {
  auto *files = Make<TFileListBox>(200);
  files->Font().SetHeight(-9);
  int small = files->ItemHeight();
  EXPECT_LT(small, 16);
  files->SetFileType(TFileType{ftNormal, ftDirectory});
  for (int i = 0; i < files->Count(); ++i) {
    std::string name = files->Items(i);
    void *expected = files->UnknownFileBitmap.get();
    if (name == "SETUP.EXE" || name == "run.Bat" || name == "x.pif") expected = files->ExecutableBitmap.get();
    if (name[0] == '[') expected = nullptr;
    EXPECT_EQ(files->Objects(i), expected) << name;
  }
  COLORREF window = ColorToRGB(clWindow);
  EXPECT_EQ(FirstInk(PaintItem(*files, 0, false, 200, small), window), 2) << "no pictures: text at 2";
  files->SetShowGlyphs(true);
  EXPECT_EQ(files->ItemHeight(), 16);
  int beta = ItemPosition(*files, "[beta]");
  EXPECT_EQ(files->Objects(beta), nullptr) << "read before pictures were on";
  int setup = ItemPosition(*files, "SETUP.EXE");
  ItemPicture p = PaintItem(*files, setup, true, 200, 16);
  COLORREF highlight = ColorToRGB(clHighlight);
  EXPECT_EQ(p.At(2, 15), highlight) << "transparent on the selected item";
  int text = FirstInk(p, highlight, 2 + 16);
  EXPECT_GE(text, 22);
  EXPECT_LE(text, 24);
  files->SetShowGlyphs(false);
  EXPECT_EQ(files->ItemHeight(), 16) << "switching off keeps the height";
  files->SetShowGlyphs(true);
  files->SetMask("*.*");
  files->SetMask("*");
  EXPECT_EQ(files->Objects(ItemPosition(*files, "[beta]")), files->FolderBitmap.get());
}

TEST_F(FolderLists, SelectedNameAndTheLinkedEdit) {
  auto *files = Make<TFileListBox>(200);
  auto *edit = new TEdit(form);
  edit->SetParent(form);
  edit->HandleNeeded();
  files->SetFileEdit(edit);
  EXPECT_EQ(edit->Text(), "*.*");
  int changes = 0;
  files->OnChange = [&](TComponent *) { ++changes; };
  files->SetSelectedName("NOTES.TXT");
  EXPECT_EQ(files->SelectedName(), "notes.txt");
  EXPECT_EQ(files->SelectedPath(), kRoot + "\\Alpha\\notes.txt");
  EXPECT_EQ(edit->Text(), "notes.txt");
  DWORD from = 0, to = 0;
  SendMessageA(edit->Handle(), EM_GETSEL, WPARAM(&from), LPARAM(&to));
  EXPECT_EQ(to - from, 9u) << "all of it selected";
  files->SetSelectedName("nothing.here");
  EXPECT_EQ(files->ItemIndex(), -1);
  EXPECT_EQ(files->SelectedName(), "");
  EXPECT_EQ(edit->Text(), "*.*");
  EXPECT_EQ(changes, 2);
  // A user's click moves the selection and notifies once.
  ShowForm();
  ClickItem(*files, 1, false);
  EXPECT_EQ(files->SelectedName(), "arch.txt");
  EXPECT_EQ(edit->Text(), "arch.txt");
  EXPECT_EQ(changes, 3);
  delete edit;
  EXPECT_EQ(files->FileEdit(), nullptr);
  files->SetSelectedName("ro.txt");
  EXPECT_EQ(changes, 4);
}

TEST_F(FolderLists, ApplyTypedPath) {
  auto *files = Make<TFileListBox>(200);
  files->ApplyTypedPath("C:\\windows\\*.ini");
  EXPECT_EQ(AnsiLowerCase(files->CurrentDirectory()), "c:\\windows");
  EXPECT_EQ(files->Mask(), "*.ini");
  EXPECT_GE(ItemPosition(*files, "win.ini"), 0);

  files->ApplyTypedPath(kRoot + "\\Alpha\\*.log");
  EXPECT_EQ(ItemsOf(*files), (Names{"data.log"}));
  // A file that exists but is hidden by the mask becomes the mask.
  files->ApplyTypedPath(kRoot + "\\Alpha\\readme");
  EXPECT_EQ(files->Mask(), "readme");
  EXPECT_EQ(files->SelectedName(), "readme");
  // The path of the selected entry changes nothing.
  int changes = 0;
  files->OnChange = [&](TComponent *) { ++changes; };
  files->ApplyTypedPath(files->SelectedPath());
  EXPECT_EQ(changes, 0);
  // [..] is the parent of the current directory.
  files->ApplyTypedPath("[..]");
  EXPECT_EQ(files->CurrentDirectory(), kRoot);
  EXPECT_EQ(GetCurrentDir(), kRoot);
  // A name that does not exist is taken for a directory and reported before any change.
  EXPECT_THROW(files->ApplyTypedPath("nothing.here"), EInOutError);
  EXPECT_EQ(files->CurrentDirectory(), kRoot);
  EXPECT_EQ(files->Mask(), "readme");
  files->ApplyTypedPath("");
  EXPECT_EQ(files->CurrentDirectory(), kRoot);
}

TEST_F(FolderLists, TypedNamesAsPeopleTypeThem) {
  auto *files = Make<TFileListBox>(200);
  auto *dirs = Make<TDirectoryListBox>(400);
  const struct {
    const char *typed;
    const char *selected;
    const char *mask;
    const char *directory;
  } cases[] = {
      {"C:/ftest_lists/Alpha/beta/inner.txt", "inner.txt", "*.*", "\\Alpha\\beta"},
      {"C:/ftest_lists/Alpha/*.log", "", "*.log", "\\Alpha"},
      {"C:\\ftest_lists\\Alpha\\notes.txt.", "notes.txt", "*.*", "\\Alpha"},
      {"C:\\ftest_lists\\Alpha\\notes.txt ", "notes.txt", "*.*", "\\Alpha"},
      {"readme. ", "readme", "*.*", "\\Alpha"},
  };
  for (bool linked : {false, true}) {
    dirs->SetFileList(linked ? files : nullptr);
    for (const auto &c : cases) {
      files->SetMask("*.*");
      files->SetSelectedName("");
      files->ApplyTypedPath(c.typed);
      EXPECT_EQ(files->SelectedName(), c.selected) << c.typed << (linked ? " linked" : "");
      EXPECT_EQ(files->Mask(), c.mask) << c.typed << (linked ? " linked" : "");
      EXPECT_EQ(files->CurrentDirectory(), kRoot + c.directory) << c.typed << (linked ? " linked" : "");
      if (linked) {
        EXPECT_EQ(dirs->CurrentDirectory(), kRoot + c.directory) << c.typed;
      }
    }
  }
  // An existing file that the list does not show (hidden, system) is reported as such,
  // instead of becoming a mask that shows nothing.
  for (const char *name : {"hid.txt", "sys.txt"}) {
    files->SetMask("*.*");
    try {
      files->ApplyTypedPath(kRoot + "\\Alpha\\" + name);
      ADD_FAILURE() << name << " accepted";
    } catch (const EInvalidOperation &e) {
      EXPECT_NE(e.Message().find(name), std::string::npos) << e.Message();
    }
    EXPECT_EQ(files->Mask(), "*.*") << name;
    EXPECT_EQ(files->Count(), 9) << name;
  }
  // Asked for, it is listed and selected.
  files->SetFileType(TFileType{ftNormal, ftHidden});
  files->ApplyTypedPath(kRoot + "\\Alpha\\hid.txt");
  EXPECT_EQ(files->SelectedName(), "hid.txt");
}

TEST_F(FolderLists, ReadingRestoresTheCursorAndKeepsItemsOnFailure) {
  for (int i = 0; i < 150; ++i) MakeFile(kRoot + "\\Empty\\" + Format("f%03d.txt", i));
  auto *files = Make<TFileListBox>(200);
  Screen->SetCursor(crDefault);
  files->SetCurrentDirectory(kRoot + "\\Empty");
  EXPECT_EQ(files->Count(), 150);
  EXPECT_EQ(files->Items(100), "f100.txt") << "sorted";
  EXPECT_EQ(Screen->Cursor(), crDefault);
  // The listed directory disappears: reading fails and keeps what was listed.
  ChDir(kRoot);
  RemoveTree(kRoot + "\\Empty");
  EXPECT_THROW(files->ReadFileEntries(), EInOutError);
  EXPECT_EQ(files->Count(), 150);
  EXPECT_EQ(Screen->Cursor(), crDefault);
}

}  // namespace
