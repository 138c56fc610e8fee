// The select-directory dialog opening and closing: where it opens, what each way of
// closing returns, that two hundred of them leave nothing behind, and the seam that
// answers instead of it.  Works in c:\seldir_test; it runs apart from the other programs
// that use real input (SendInput clicks, the boot-drive lock of the tip's tests).
#include <gtest/gtest.h>

#include "support/ProcessResources.h"
#include "toolkit/Form.h"

#include "support/DialogScript.h"
#include "support/SelectDirFixture.h"
#include "support/TestSupport.h"

namespace {

// --- start directory --------------------------------------------------------------------

TEST_F(SelectDir, StartDirectoryChoosesWhereTheDialogOpensAndOKReturnsIt) {
  struct Case {
    std::string start, shown;
  } cases[] = {
      {"", kAlpha},                                  // the process's directory
      {kRoot + "\\Gamma", kRoot + "\\Gamma"},
      {"Beta", kAlpha + "\\Beta"},                   // relative to the process's directory
      {"..\\Gamma", kRoot + "\\Gamma"},
      {kAlpha + "\\", kAlpha},
      {kRoot + "/Gamma", kRoot + "\\Gamma"},
      {kRoot + "\\Missing\\Deeper", kAlpha},         // the drive's current directory
      {kAlpha + "\\one.txt", kAlpha},                // a file is no directory
      {"\\\\server\\share\\dir", kAlpha},            // a network path changes nothing
      {"C:\\", "C:\\"},                              // the root itself
      {"c:\\", "C:\\"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE("start \"" + c.start + "\"");
    ChDir(kAlpha);
    std::string dir = c.start;
    Script script({Check([&](TSelectDirDlg &dlg) { ExpectShows(dlg, c.shown); }), Click(OK)});
    EXPECT_TRUE(ChooseDirectory(dir, {}, 0));
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(dir, c.shown);
    EXPECT_EQ(GetCurrentDir(), c.shown);
    EXPECT_EQ(CountDialogWindows(), 0);
  }
}

TEST_F(SelectDir, StartDirectoryOnAnotherDriveSelectsThatDrive) {
  if (!DriveExists('D')) GTEST_SKIP() << "no drive D: in this prefix";
  struct Case {
    std::string start, shown;
  } cases[] = {
      {"D:\\", "D:\\"},
      {"d:\\", "D:\\"},
      {"D:\\nowhere\\at all", "D:\\"},  // the drive's current directory
  };
  for (const Case &c : cases) {
    SCOPED_TRACE("start \"" + c.start + "\"");
    ChDir(kAlpha);
    std::string dir = c.start;
    Script script({Check([&](TSelectDirDlg &dlg) {
                     EXPECT_EQ(UpCase(dlg.DriveList->DriveLetter()), 'D');
                     // The drive letter comes in the drive list's case.
                     EXPECT_EQ(AnsiUpperCase(dlg.DirList->CurrentDirectory()), c.shown);
                     EXPECT_EQ(dlg.DirLabel->Caption(), dlg.DirList->CurrentDirectory());
                   }),
                   Key(VK_ESCAPE)});
    EXPECT_FALSE(ChooseDirectory(dir, {}, 0));
    EXPECT_EQ(dir, c.start) << "unchanged on Cancel";
  }
}

TEST_F(SelectDir, MissingDriveRaisesBeforeTheDialogShowsAndLeavesEverythingAsItWas) {
  char missing = 0;
  for (char d = 'Q'; d >= 'K' && !missing; --d)
    if (!DriveExists(d)) missing = d;
  ASSERT_NE(missing, 0);
  std::string drive(1, missing);
  for (const std::string &start : {drive + ":\\somewhere", drive + ":", AnsiLowerCase(drive) + ":\\"}) {
    for (TChooseDirOptions options : {TChooseDirOptions{}, TChooseDirOptions{cdAllowNewName, cdCreateOnAccept}}) {
      SCOPED_TRACE(start);
      ChDir(kAlpha);
      std::string dir = start;
      Script script({Click(OK)});
      EXPECT_THROW(ChooseDirectory(dir, options, 1000), EInOutError);
      EXPECT_FALSE(script.SawDialog());
      EXPECT_EQ(dir, start);
      EXPECT_EQ(GetCurrentDir(), kAlpha);
      EXPECT_EQ(CountDialogWindows(), 0);
    }
  }
}

// --- closing ----------------------------------------------------------------------------

TEST_F(SelectDir, EveryWayOfClosingGivesItsResultAndRemovesTheWindow) {
  struct Case {
    const char *how;
    std::vector<Step> steps;
    bool result;
  } cases[] = {
      {"OK clicked", {Click(OK)}, true},
      {"Cancel clicked", {Click(Cancel)}, false},
      {"Escape", {Key(VK_ESCAPE)}, false},
      {"close box", {CloseBox()}, false},
      // Tab from the directory list passes the hidden edit box and Network button.
      {"Tab to OK, Enter",
       {Key(VK_TAB), Check([](TSelectDirDlg &) { EXPECT_EQ(FocusName(), "DriveList"); }), Key(VK_TAB),
        Check([](TSelectDirDlg &) { EXPECT_EQ(FocusName(), "OKButton"); }), Key(VK_RETURN)},
       true},
      {"Tab to Cancel, Enter",
       {Key(VK_TAB), Key(VK_TAB), Key(VK_TAB),
        Check([](TSelectDirDlg &) { EXPECT_EQ(FocusName(), "CancelButton"); }), Key(VK_RETURN)},
       false},
      {"Space on Cancel", {Key(VK_TAB), Key(VK_TAB), Key(VK_TAB), Key(VK_SPACE)}, false},
      // A closed drive list leaves Enter and Escape to the dialog's buttons.
      {"Enter in the closed drive list",
       {Key(VK_TAB), Check([](TSelectDirDlg &) { EXPECT_EQ(FocusName(), "DriveList"); }), Key(VK_RETURN)},
       true},
      {"Escape in the closed drive list", {Key(VK_TAB), Key(VK_ESCAPE)}, false},
  };
  for (Case &c : cases) {
    SCOPED_TRACE(c.how);
    ChDir(kAlpha);
    std::string dir = "start";
    c.steps.insert(c.steps.begin(), OpenDir("Beta"));
    Script script(c.steps);
    EXPECT_EQ(ChooseDirectory(dir, {}, 1000), c.result);
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(dir, c.result ? kAlpha + "\\Beta" : "start");
    // Where the user went, the process stays: the dialog works through its directory.
    EXPECT_EQ(GetCurrentDir(), kAlpha + "\\Beta");
    EXPECT_EQ(CountDialogWindows(), 0);
  }
}

// --- resources and large folders ------------------------------------------------------

TEST_F(SelectDir, TwoHundredDialogsLeaveNoWindowFontFindHandleOrGdiObject) {
  if (Ppi() != 96) GTEST_SKIP() << "counted once, at 96 dots per inch";
  BoxRecorder boxes;  // the creation question, answered No, then Escape
  auto cycle = [](int i) {
    std::string dir = i % 3 ? kAlpha : kRoot + "\\Gamma";
    std::vector<Step> steps;
    TChooseDirOptions options;
    switch (i % 6) {
      case 0: steps = {Key(VK_ESCAPE)}; break;
      case 1: steps = {Check([](TSelectDirDlg &dlg) { PostMessageA(dlg.Handle(), WM_CLOSE, 0, 0); })}; break;
      case 2: steps = {Key(VK_TAB), Key(VK_TAB), Key(VK_RETURN)}; break;  // OK
      case 3:
        options = {cdAllowNewName, cdConfirmCreate};
        steps = {AltKey('V'), Type("x"), Key(VK_RETURN), Key(VK_ESCAPE)};
        break;
      case 4: steps = {Key(VK_DOWN), Key(VK_RETURN), Key(VK_ESCAPE)}; break;  // into Beta
      case 5: {
        dir = "Q:\\none";  // raises before the dialog shows
        Script script({Key(VK_ESCAPE)});
        EXPECT_THROW(ChooseDirectory(dir, options, 0), EInOutError);
        return;
      }
    }
    Script script(steps);
    ChooseDirectory(dir, options, i % 2 ? 1000 : 0);
    EXPECT_TRUE(script.Done()) << "cycle " << i;
  };
  ASSERT_FALSE(DriveExists('Q'));
  for (int i = 0; i < 12; ++i) cycle(i);
  ChDir(kAlpha);
  PumpMessages();
  Resources before = Count();
  for (int i = 0; i < 200; ++i) cycle(i);
  ChDir(kAlpha);
  PumpMessages();
  Resources after = Count();
  // A leak of one cycle in six would be 33 or more; the system may make an object or
  // two of its own on the way.
  EXPECT_EQ(after.windows, before.windows);
  EXPECT_LE(after.gdi, before.gdi + 3) << after << " / " << before;
  EXPECT_LE(after.handles, before.handles + 3) << after << " / " << before;
  EXPECT_LE(after.user, before.user + 3) << after << " / " << before;
  EXPECT_GT(before.gdi, 0) << "GDI objects are counted";
  EXPECT_GT(before.handles, 0) << "handles are counted";
}

// --- the seam ---------------------------------------------------------------------------

TEST_F(SelectDir, AnInstalledHandlerAnswersInsteadOfTheDialog) {
  TChooseDirOptions seen;
  auto previous = SetChooseDirectoryHandler([&](std::string &d, TChooseDirOptions o, int ctx) {
    seen = o;
    EXPECT_EQ(ctx, 1000);
    d = "E:\\answer";
    return true;
  });
  Script script({Key(VK_ESCAPE)});
  std::string dir;
  EXPECT_TRUE(ChooseDirectory(dir, {cdCreateOnAccept}, 1000));
  EXPECT_EQ(dir, "E:\\answer");
  EXPECT_TRUE(seen == TChooseDirOptions{cdCreateOnAccept});
  EXPECT_FALSE(script.SawDialog());
  SetChooseDirectoryHandler(previous);
}

}  // namespace
