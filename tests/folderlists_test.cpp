// Directory list, file list and drive combo box on real windows and a directory tree of
// the test's own in c:\, driven by clicks, keys and typed paths.
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

namespace {

const std::string kRoot = "C:\\ftest_lists";

void MakeFile(const std::string &path, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
  WriteTextFile(path, "x");
  SetFileAttributesA(path.c_str(), attributes);
}

void MakeDir(const std::string &path, DWORD attributes = FILE_ATTRIBUTE_DIRECTORY) {
  CreateDirectoryA(path.c_str(), nullptr);
  if (attributes != FILE_ATTRIBUTE_DIRECTORY) SetFileAttributesA(path.c_str(), attributes);
}

std::vector<std::string> ItemsOf(const TCustomListBox &list) {
  std::vector<std::string> v;
  for (int i = 0; i < list.Count(); ++i) v.push_back(list.Items(i));
  return v;
}

using Names = std::vector<std::string>;

class FolderLists : public testing::Test {
 protected:
  void SetUp() override {
    RemoveTree(kRoot);
    MakeDir(kRoot);
    MakeDir(kRoot + "\\Alpha");
    MakeDir(kRoot + "\\Alpha\\beta");
    MakeDir(kRoot + "\\Alpha\\Gamma");
    MakeDir(kRoot + "\\Alpha\\delta");
    MakeDir(kRoot + "\\Alpha\\Secret", FILE_ATTRIBUTE_HIDDEN);
    MakeDir(kRoot + "\\Alpha\\SysDir", FILE_ATTRIBUTE_SYSTEM);
    MakeDir(kRoot + "\\Empty");
    for (const char *name : {"readme", "SETUP.EXE", "run.Bat", "x.pif", "a.exe.txt", "notes.txt", "data.log"})
      MakeFile(kRoot + "\\Alpha\\" + name);
    MakeFile(kRoot + "\\Alpha\\ro.txt", FILE_ATTRIBUTE_READONLY);
    MakeFile(kRoot + "\\Alpha\\arch.txt", FILE_ATTRIBUTE_ARCHIVE);
    MakeFile(kRoot + "\\Alpha\\hid.txt", FILE_ATTRIBUTE_HIDDEN);
    MakeFile(kRoot + "\\Alpha\\sys.txt", FILE_ATTRIBUTE_SYSTEM);
    MakeFile(kRoot + "\\Alpha\\beta\\inner.txt");
    ChDir(kRoot + "\\Alpha");
    form = CreateForm<TForm>(nullptr);
    form->SetBounds(10, 10, 600, 400);
  }
  void TearDown() override {
    delete form;
    ChDir("C:\\");
    RemoveTree(kRoot);
  }
  template <class T>
  T *Make(int left, int width = 180, int height = 200) {
    auto *c = new T(form);
    c->SetParent(form);
    c->SetBounds(left, 10, width, height);
    c->HandleNeeded();
    return c;
  }
  void ShowForm() {
    form->Show();
    // Other tests' windows share the display: ours must be the one under the mouse.
    SetWindowPos(form->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(form->Handle());
    PumpMessages(50);
  }
  TForm *form = nullptr;
};

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

void ClickItem(TCustomListBox &list, int index, bool twice) {
  RECT r;
  SendMessageA(list.Handle(), LB_GETITEMRECT, WPARAM(index), LPARAM(&r));
  POINT pt = {r.left + 30, (r.top + r.bottom) / 2};
  ClientToScreen(list.Handle(), &pt);
  SetCursorPos(pt.x, pt.y);
  PumpMessages(30);
  INPUT in[4] = {};
  for (auto &i : in) i.type = INPUT_MOUSE;
  in[0].mi.dwFlags = in[2].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  in[1].mi.dwFlags = in[3].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(twice ? 4 : 2, in, sizeof(INPUT));
  PumpMessages(150);
}

// The messages a press of Enter gives the focused control; posted rather than sent as
// input so that another test's window in front cannot take them.
void PressEnter(TControl &c) {
  PostMessageA(c.Handle(), WM_KEYDOWN, VK_RETURN, 1);
  PostMessageA(c.Handle(), WM_CHAR, '\r', 1);
  PostMessageA(c.Handle(), WM_KEYUP, VK_RETURN, 0xC0000001);
  PumpMessages(50);
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

// Paints item index through the parent's reflected WM_DRAWITEM into a memory bitmap.
struct ItemPicture {
  std::vector<COLORREF> px;
  int w, h;
  COLORREF At(int x, int y) const { return px[size_t(y * w + x)]; }
};

ItemPicture PaintItem(TControl &list, int index, bool selected, int w, int h) {
  TScreenDC screen;
  TMemoryDC mem(screen.Get());
  TGdiHandle<HBITMAP> bmp(CreateCompatibleBitmap(screen.Get(), w, h));
  TSelectGuard sel(mem.Get(), bmp.Get());
  DRAWITEMSTRUCT dis = {};
  dis.CtlType = ODT_LISTBOX;
  dis.itemID = UINT(index);
  dis.itemAction = ODA_DRAWENTIRE;
  dis.itemState = selected ? ODS_SELECTED : 0;
  dis.hwndItem = list.Handle();
  dis.hDC = mem.Get();
  dis.rcItem = {0, 0, w, h};
  SendMessageA(GetParent(list.Handle()), WM_DRAWITEM, 0, LPARAM(&dis));
  ItemPicture p{{}, w, h};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) p.px.push_back(GetPixel(mem.Get(), x, y));
  return p;
}

// Leftmost column in which the picture differs from the background colour.
int FirstInk(const ItemPicture &p, COLORREF background, int fromX = 0) {
  for (int x = fromX; x < p.w; ++x)
    for (int y = 0; y < p.h; ++y)
      if (p.At(x, y) != background) return x;
  return -1;
}

int FirstOpaqueColumn(const TBitmap &b) {
  COLORREF t = b.TransparentColor();
  for (int x = 0; x < b.Width(); ++x)
    for (int y = 0; y < b.Height(); ++y)
      if (b.Pixel(x, y) != t) return x;
  return -1;
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

// --- links ------------------------------------------------------------------------------

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

// --- drive combo box --------------------------------------------------------------------

TEST_F(FolderLists, DriveSwitchFromTheComboBox) {
  auto *dirs = Make<TDirectoryListBox>(10);
  auto *combo = Make<TDriveComboBox>(400);
  EXPECT_EQ(combo->DriveLetter(), 'c');
  int c = -1, z = -1;
  for (int i = 0; i < combo->Count(); ++i) {
    std::string text = combo->Items(i);
    if (text.compare(0, 3, "c: ") == 0) c = i;
    if (text.compare(0, 3, "z: ") == 0) z = i;
  }
  ASSERT_GE(c, 0);
  ASSERT_GE(z, 0);
  EXPECT_EQ(combo->ItemIndex(), c);
  EXPECT_EQ(combo->Items(c), "c: " + DriveVolumeLabel('c'));
  EXPECT_EQ(combo->Objects(c), combo->FixedBitmap.get());
  combo->SetDirList(dirs);
  std::vector<std::string> events;
  combo->OnClick = [&](TComponent *) { events.push_back("click"); };
  combo->OnChange = [&](TComponent *) { events.push_back("change"); };
  // The user picks z: as the system reports it.
  SendMessageA(combo->Handle(), CB_SETCURSEL, WPARAM(z), 0);
  SendMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE), LPARAM(combo->Handle()));
  EXPECT_EQ(events, (Names{"click", "change"}));
  EXPECT_EQ(combo->DriveLetter(), 'z');
  EXPECT_EQ(UpCase(dirs->DriveLetter()), 'Z');
  EXPECT_EQ(UpCase(GetCurrentDir()[0]), 'Z');
  // Back through the directory list: the combo box follows, one change only.
  events.clear();
  dirs->SetCurrentDirectory(kRoot + "\\Alpha");
  EXPECT_EQ(combo->DriveLetter(), 'c');
  EXPECT_EQ(combo->ItemIndex(), c);
  EXPECT_EQ(events, (Names{"change"}));
  EXPECT_EQ(dirs->CurrentDirectory(), kRoot + "\\Alpha");
  combo->SetDriveLetter('C');
  EXPECT_EQ(events.size(), 1u) << "the same drive in the other case changes nothing";
}

// Drives the machine does not have, for the item texts and pictures.
DWORD FakeDrives() { return 1u << 0 | 1u << 1 | 1u << 2 | 1u << 3 | 1u << 4 | 1u << 17 | 1u << 23; }
UINT FakeType(const char *root) {
  switch (root[0]) {
    case 'a': return DRIVE_REMOVABLE;
    case 'b': return DRIVE_NO_ROOT_DIR;
    case 'c': return DRIVE_FIXED;
    case 'd': return DRIVE_CDROM;
    case 'e': return DRIVE_UNKNOWN;
    case 'r': return DRIVE_RAMDISK;
    case 'x': return DRIVE_REMOTE;
    default: return DRIVE_UNKNOWN;
  }
}
std::string FakeLabel(char d) {
  std::string label = UpCase(d) == 'C' ? "System" : UpCase(d) == 'R' ? "Ram" : "";
  return "[" + (d >= 'a' ? AnsiLowerCase(label) : AnsiUpperCase(label)) + "]";
}
std::string FakeNetwork(char d) { return d >= 'a' ? "\\\\server\\share" : "\\\\SERVER\\SHARE"; }
const TDriveQueries kFake = {FakeDrives, FakeType, FakeLabel, FakeNetwork};

class FakeDrivesScope {
 public:
  explicit FakeDrivesScope(const TDriveQueries *queries = &kFake) : previous_(SetDriveQueries(queries)) {}
  ~FakeDrivesScope() { SetDriveQueries(previous_); }

 private:
  const TDriveQueries *previous_;
};

std::vector<std::string> ComboItems(const TCustomComboBox &combo) {
  std::vector<std::string> v;
  for (int i = 0; i < combo.Count(); ++i) v.push_back(combo.Items(i));
  return v;
}

TEST_F(FolderLists, DriveItemsByKindAndCase) {
  FakeDrivesScope fake;
  auto *combo = Make<TDriveComboBox>(400);
  EXPECT_EQ(ComboItems(*combo), (Names{"a:", "c: [system]", "d: []", "r: [ram]", "x: \\\\server\\share"}));
  TBitmap *pictures[] = {combo->FloppyBitmap.get(), combo->FixedBitmap.get(), combo->CDROMBitmap.get(),
                         combo->RAMBitmap.get(), combo->NetworkBitmap.get()};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(combo->Objects(i), pictures[i]) << "item " << i;
  EXPECT_EQ(combo->ItemIndex(), 1);

  int changes = 0;
  combo->OnChange = [&](TComponent *) { ++changes; };
  combo->SetTextCase(tcUpperCase);
  EXPECT_EQ(ComboItems(*combo), (Names{"A:", "C: [SYSTEM]", "D: []", "R: [RAM]", "X: \\\\SERVER\\SHARE"}));
  EXPECT_EQ(combo->DriveLetter(), 'C');
  EXPECT_EQ(combo->ItemIndex(), 1);
  EXPECT_EQ(changes, 1);
  combo->SetDriveLetter('c');
  EXPECT_EQ(changes, 1);

  // No drive: nothing selected, the directory list hears of it.
  auto *dirs = Make<TDirectoryListBox>(10);
  combo->SetDirList(dirs);
  int dirChanges = 0;
  dirs->OnChange = [&](TComponent *) { ++dirChanges; };
  combo->SetDriveLetter('\0');
  EXPECT_EQ(combo->ItemIndex(), -1);
  EXPECT_EQ(combo->DriveLetter(), '\0');
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(dirChanges, 1);
  combo->SetDirList(nullptr);
  // A letter without an item is kept, the selection stays; a digit stays a digit.
  combo->SetDriveLetter('c');
  combo->SetDriveLetter('q');
  EXPECT_EQ(combo->DriveLetter(), 'Q');
  EXPECT_EQ(combo->ItemIndex(), 1);
  combo->SetTextCase(tcLowerCase);
  combo->SetDriveLetter('1');
  EXPECT_EQ(combo->DriveLetter(), '1');
}

// c: and a CD-ROM drive m: without a disc: the machine has no m:, so entering it fails as
// it does for an empty drive.
DWORD NoDiscDrives() { return 1u << 2 | 1u << 12; }
UINT NoDiscType(const char *root) { return root[0] == 'm' ? DRIVE_CDROM : DRIVE_FIXED; }
const TDriveQueries kNoDisc = {NoDiscDrives, NoDiscType, FakeLabel, FakeNetwork};

TEST_F(FolderLists, AFailedDriveChangePutsTheComboBoxBack) {
  ASSERT_EQ(GetLogicalDrives() & (1u << 12), 0u) << "m: must be absent";
  FakeDrivesScope fake(&kNoDisc);
  BoxRecorder boxes;
  auto *dirs = Make<TDirectoryListBox>(10);
  auto *combo = Make<TDriveComboBox>(400);
  combo->SetDirList(dirs);
  ASSERT_EQ(ComboItems(*combo), (Names{"c: [system]", "m: []"}));
  int changes = 0, dirChanges = 0;
  combo->OnChange = [&](TComponent *) { ++changes; };
  dirs->OnChange = [&](TComponent *) { ++dirChanges; };
  // The select-directory dialog's way: a box that is not linked, whose OnChange moves
  // the list.
  auto *unlinked = Make<TDriveComboBox>(400);
  unlinked->OnChange = [&](TComponent *) { dirs->SetDriveLetter(unlinked->DriveLetter()); };
  auto picksM = [&](TDriveComboBox *box) {
    SendMessageA(box->Handle(), CB_SETCURSEL, 1, 0);
    SendMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE), LPARAM(box->Handle()));
  };
  struct Route {
    const char *name;
    std::function<void()> attempt;
    size_t boxes;  // the user's pick is reported in the standard error box
  } routes[] = {
      {"user's pick", [&] { picksM(combo); }, 1},
      {"user's pick in an unlinked box", [&] { picksM(unlinked); }, 1},
      {"DriveLetter", [&] { EXPECT_THROW(combo->SetDriveLetter('m'), EInOutError); }, 0},
      {"linked directory list", [&] { EXPECT_THROW(dirs->SetCurrentDirectory("M:\\"), EInOutError); }, 0},
  };
  // Each route twice: after a failure the next attempt must try the drive again.
  for (int round = 0; round < 2; ++round) {
    for (const Route &r : routes) {
      size_t before = boxes.boxes.size();
      r.attempt();
      EXPECT_EQ(boxes.boxes.size() - before, r.boxes) << r.name << " round " << round;
      EXPECT_EQ(combo->DriveLetter(), 'c') << r.name << " round " << round;
      EXPECT_EQ(combo->ItemIndex(), 0) << r.name << " round " << round;
      EXPECT_EQ(unlinked->DriveLetter(), 'c') << r.name << " round " << round;
      EXPECT_EQ(unlinked->ItemIndex(), 0) << r.name << " round " << round;
      EXPECT_EQ(dirs->CurrentDirectory(), kRoot + "\\Alpha") << r.name << " round " << round;
      EXPECT_EQ(GetCurrentDir(), kRoot + "\\Alpha") << r.name << " round " << round;
    }
  }
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(dirChanges, 0);
  // The box is still in step with the list afterwards.
  dirs->SetCurrentDirectory(kRoot + "\\Empty");
  EXPECT_EQ(combo->DriveLetter(), 'c');
  EXPECT_EQ(dirChanges, 1);
}

TEST_F(FolderLists, DriveItemHeightFollowsTheFontButNotBelowThePictures) {
  FakeDrivesScope fake;
  auto *combo = Make<TDriveComboBox>(400);
  combo->Font().SetHeight(-6);
  EXPECT_EQ(combo->ItemHeight(), 11);
  EXPECT_EQ(combo->Count(), 5) << "refilled after the font change";
  combo->Font().SetHeight(-30);
  EXPECT_EQ(combo->ItemHeight(), FontItemHeight(combo->Font()));
  EXPECT_GT(combo->ItemHeight(), 30);
  EXPECT_EQ(SendMessageA(combo->Handle(), CB_GETITEMHEIGHT, 0, 0), combo->ItemHeight());
  // The selected item's picture is transparent on the highlight too.
  combo->Font().SetHeight(-11);
  ItemPicture p = PaintItem(*combo, 1, true, 150, combo->ItemHeight());
  EXPECT_EQ(p.At(2, combo->ItemHeight() / 2 + 5), ColorToRGB(clHighlight));
  EXPECT_EQ(FirstInk(p, ColorToRGB(clHighlight)), 2 + FirstOpaqueColumn(*combo->FixedBitmap));
}

}  // namespace
