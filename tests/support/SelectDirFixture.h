// What the tests of the select-directory dialog share: their folder tree in
// c:\seldir_test, the fixture that makes it and records help requests, the expected
// layout at the screen's resolution and the file system seen from outside the dialog.
// The same tests run on a screen at 120 dots per inch (selectdir_dpi120_test.cpp): every
// expected position is the layout at 96 scaled to the screen.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "folderselect/SelectDirDlg.h"
#include "support/DialogScript.h"
#include "support/TestSupport.h"
#include "toolkit/Application.h"

inline const std::string kRoot = "C:\\seldir_test";
inline const std::string kAlpha = kRoot + "\\Alpha";

// --- expected layout
int Ppi();
int Scaled(int v);
// Bounds at 96 dots per inch as the screen's scaling makes them (right and bottom edges
// are scaled, not the sizes).
RECT ScaledBounds(int l, int t, int w, int h);
RECT BoundsOf(TControl *c);
std::string Str(const RECT &r);
// Where the window really is, in its parent's client area.
RECT WindowBoundsOf(TControl *c);

// --- file system
// Every entry below dir, as paths relative to it.
std::set<std::string> TreeOf(const std::string &dir, const std::string &prefix = "");
std::set<std::string> Added(const std::set<std::string> &before, const std::set<std::string> &after);
// The names in c:\.
std::set<std::string> TopOfC();
// The folder names of a path, without its drive and trailing blanks.
std::vector<std::string> PartsOf(const std::string &path);
bool DriveExists(char letter);

class SelectDir : public testing::Test {
 protected:
  void SetUp() override {
    RemoveTree(kRoot);
    MakeDir(kRoot);
    MakeDir(kAlpha);
    MakeDir(kAlpha + "\\Beta");
    MakeDir(kAlpha + "\\Delta");
    MakeDir(kRoot + "\\Gamma");
    for (const char *f : {"one.txt", "two.bat"}) WriteTextFile(kAlpha + "\\" + f, "x");
    WriteTextFile(kAlpha + "\\Beta\\inner.txt", "x");
    WriteTextFile(kRoot + "\\top.txt", "x");
    ChDir(kAlpha);
    previousHelp_ = SetHelpHandler([this](int ctx) { helpRequests.push_back(ctx); });
  }
  void TearDown() override {
    SetHelpHandler(previousHelp_);
    SetNetProcLookup(nullptr);
    EXPECT_EQ(CountDialogWindows(), 0) << "a dialog window was left";
    ChDir("C:\\");
    RemoveTree(kRoot);
  }
  std::vector<int> helpRequests;

 private:
  THelpHandler previousHelp_;
};

// The dialog shows dir in its directory list, path label, edit box and file list.
void ExpectShows(TSelectDirDlg &dlg, const std::string &dir);
