// What the tests of the folder lists share: their folder tree in c:\ftest_lists, the
// fixture that makes it with a form to put the controls on, real clicks on a list's items
// (SendInput: a test program that uses ClickItem takes the input lock), Enter as the
// keyboard gives it, and the painting of one item into a bitmap.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "support/TestSupport.h"
#include "toolkit/Form.h"
#include "toolkit/Graphics.h"
#include "toolkit/ListControls.h"

inline const std::string kRoot = "C:\\ftest_lists";

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
    WaitUntil([this] { return GetForegroundWindow() == form->Handle(); });
  }
  TForm *form = nullptr;
};

// A real click (or double click) on a list's item, with the mouse moved there first.
void ClickItem(TCustomListBox &list, int index, bool twice);
// The messages a press of Enter gives the focused control; posted rather than sent as
// input so that another test's window in front cannot take them.
void PressEnter(TControl &c);

// Paints item index through the parent's reflected WM_DRAWITEM into a memory bitmap.
struct ItemPicture {
  std::vector<COLORREF> px;
  int w, h;
  COLORREF At(int x, int y) const { return px[size_t(y * w + x)]; }
};

ItemPicture PaintItem(TControl &list, int index, bool selected, int w, int h);
// Leftmost column in which the picture differs from the background colour.
int FirstInk(const ItemPicture &p, COLORREF background, int fromX = 0);
// Leftmost column of a bitmap with an opaque pixel.
int FirstOpaqueColumn(const TBitmap &b);
