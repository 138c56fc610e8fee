// The select-directory dialog walked with the mouse (real clicks through SendInput) and
// the keyboard: directories, drives, tab order and accelerators.  Works in
// c:\seldir_test; it runs apart from the other programs that use real input.
#include <gtest/gtest.h>

#include <memory>

#include "toolkit/Form.h"

#include "support/DialogScript.h"
#include "support/SelectDirFixture.h"
#include "support/TestSupport.h"

namespace {

// --- walking ----------------------------------------------------------------------------

TEST_F(SelectDir, MouseWalksTheDirectoryTreeAndTheFileListFollows) {
  ChDir(kRoot);
  std::string dir;
  Script script({
      Check([](TSelectDirDlg &dlg) {
        EXPECT_EQ(ItemsOf(*dlg.DirList), (std::vector<std::string>{"C:\\", "seldir_test", "Alpha", "Gamma"}));
        EXPECT_EQ(ItemsOf(*dlg.FileList), (std::vector<std::string>{"top.txt"}));
      }),
      OpenDir("Alpha"),
      Check([](TSelectDirDlg &dlg) {
        ExpectShows(dlg, kAlpha);
        EXPECT_EQ(ItemsOf(*dlg.FileList), (std::vector<std::string>{"one.txt", "two.bat"}));
      }),
      OpenDir("Beta"),
      Check([](TSelectDirDlg &dlg) {
        ExpectShows(dlg, kAlpha + "\\Beta");
        EXPECT_EQ(ItemsOf(*dlg.FileList), (std::vector<std::string>{"inner.txt"}));
      }),
      OpenDir("seldir_test"),
      Check([](TSelectDirDlg &dlg) {
        ExpectShows(dlg, kRoot);
        // Made while the dialog is open: the next visit reads the folder anew.
        MakeDir(kRoot + "\\Epsilon");
        WriteTextFile(kRoot + "\\Gamma\\late.txt", "x");
      }),
      OpenDir("Gamma"),
      Check([](TSelectDirDlg &dlg) {
        ExpectShows(dlg, kRoot + "\\Gamma");
        EXPECT_EQ(ItemsOf(*dlg.FileList), (std::vector<std::string>{"late.txt"}));
      }),
      OpenDir("seldir_test"),
      Check([](TSelectDirDlg &dlg) {
        EXPECT_EQ(ItemsOf(*dlg.DirList),
                  (std::vector<std::string>{"C:\\", "seldir_test", "Alpha", "Epsilon", "Gamma"}));
      }),
      OpenDir("Gamma"),
      Click(OK),
  });
  EXPECT_TRUE(ChooseDirectory(dir, {}, 0));
  EXPECT_TRUE(script.Done());
  EXPECT_EQ(dir, kRoot + "\\Gamma");
  EXPECT_EQ(GetCurrentDir(), kRoot + "\\Gamma");
}

// Opens the drive list with a click and clicks the drive's item in the list that drops.
Step PickDrive(char letter) {
  auto phase = std::make_shared<int>(0);
  auto sentAt = std::make_shared<DWORD>(0);
  return [letter, phase, sentAt](TSelectDirDlg &dlg) {
    HWND combo = dlg.DriveList->Handle();
    if (*phase == 0) {
      RECT r;
      GetClientRect(combo, &r);
      RealClickAt(dlg, combo, {r.right / 2, r.bottom / 2});
      *phase = 1;
      return false;
    }
    if (*phase == 1) {
      COMBOBOXINFO info = {sizeof info};
      if (!SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0) || !GetComboBoxInfo(combo, &info)) return false;
      int index = -1;
      for (int i = 0; i < dlg.DriveList->Count(); ++i)
        if (UpCase(dlg.DriveList->Items(i)[0]) == UpCase(letter)) index = i;
      EXPECT_GE(index, 0) << letter;
      RECT item;
      SendMessageA(info.hwndList, LB_GETITEMRECT, WPARAM(index), LPARAM(&item));
      RealClickAt(dlg, info.hwndList, {item.left + 30, (item.top + item.bottom) / 2});
      *phase = 2;
      *sentAt = GetTickCount();
      return false;
    }
    return UpCase(dlg.DirList->DriveLetter()) == UpCase(letter) || GetTickCount() - *sentAt > kWaitBoundMs;
  };
}

TEST_F(SelectDir, MouseSwitchesDrivesAndTheListsFollow) {
  if (!DriveExists('D')) GTEST_SKIP() << "no drive D: in this prefix";
  std::string dir;
  Script script({PickDrive('D'), Check([](TSelectDirDlg &dlg) {
                   EXPECT_EQ(AnsiUpperCase(dlg.DirList->CurrentDirectory()), "D:\\");
                   EXPECT_EQ(UpCase(dlg.DriveList->DriveLetter()), 'D');
                   EXPECT_EQ(dlg.DirLabel->Caption(), dlg.DirList->CurrentDirectory());
                   EXPECT_EQ(dlg.FileList->CurrentDirectory(), dlg.DirList->CurrentDirectory());
                 }),
                 PickDrive('C'), Check([](TSelectDirDlg &dlg) { ExpectShows(dlg, kAlpha); }), Click(OK)});
  EXPECT_TRUE(ChooseDirectory(dir, {}, 0));
  EXPECT_TRUE(script.Done());
  EXPECT_EQ(dir, kAlpha) << "back on c: in the directory it left there";
}

TEST_F(SelectDir, KeyboardWalksTabOrderAcceleratorsDirectoriesAndDrives) {
  // A Network button too, so that every control takes part.
  static DWORD connects = 0;
  SetNetProcLookup([](HMODULE m, const char *name) -> FARPROC {
    if (strcmp(name, "WNETGETCAPS") == 0)
      return reinterpret_cast<FARPROC>(+[](WORD) -> WORD { return 0x4D; });
    if (strcmp(name, "WNETCONNECTDIALOG") == 0)
      return reinterpret_cast<FARPROC>(+[](HWND, DWORD) -> DWORD { return ++connects, 0; });
    return nullptr;
  });
  connects = 0;
  std::vector<std::string> focus;
  auto noteFocus = Check([&](TSelectDirDlg &) { focus.push_back(FocusName()); });
  std::vector<Step> steps = {noteFocus};
  for (int i = 0; i < 8; ++i) {
    steps.push_back(Key(VK_TAB));
    steps.push_back(noteFocus);
  }
  for (char accel : {'L', 'D', 'Z', 'V', 'l', 'z'}) {
    steps.push_back(AltKey(accel));
    steps.push_back(noteFocus);
  }
  const bool otherDrive = DriveExists('D');
  steps.insert(steps.end(), {
      // Down to Beta in the list, Enter opens it.
      Key(VK_DOWN),
      Key(VK_RETURN),
      Check([](TSelectDirDlg &dlg) {
        ExpectShows(dlg, kAlpha + "\\Beta");
        EXPECT_EQ(FocusName(), "DirList") << "Enter stays with the list";
      }),
      Key(VK_UP),
      Key(VK_UP),
      Key(VK_RETURN),
      Check([](TSelectDirDlg &dlg) { ExpectShows(dlg, kRoot); }),
      // The drive list: the next drive, then back; the directory list follows, and
      // comes back to the directory it left on that drive.
      AltKey('L'),
      Key(VK_DOWN),
      Check([otherDrive](TSelectDirDlg &dlg) {
        if (otherDrive) {
          EXPECT_EQ(AnsiUpperCase(dlg.DirList->CurrentDirectory()), "D:\\");
        }
        EXPECT_EQ(dlg.DirLabel->Caption(), dlg.DirList->CurrentDirectory());
        EXPECT_EQ(dlg.FileList->CurrentDirectory(), dlg.DirList->CurrentDirectory());
      }),
      Key(VK_UP),
      Check([](TSelectDirDlg &dlg) { ExpectShows(dlg, kRoot); }),
      AltKey('H'),
      AltKey('N'),
      Check([this](TSelectDirDlg &) {
        EXPECT_EQ(helpRequests, std::vector<int>{1000});
        EXPECT_EQ(connects, 1u);
      }),
      // The edit box takes typed text; Enter there is the default button's.
      AltKey('V'),
      Type("Neu"),
      Key(VK_RETURN),
  });
  Script script(steps);
  std::string dir;
  EXPECT_TRUE(ChooseDirectory(dir, {cdAllowNewName}, 1000));
  EXPECT_TRUE(script.Done());
  EXPECT_EQ(focus, (std::vector<std::string>{"DirList", "DirEdit", "DriveList", "NetButton", "OKButton",
                                             "CancelButton", "FileList", "HelpButton", "DirList",
                                             "DriveList", "FileList", "DirList", "DirEdit", "DriveList",
                                             "DirList"}));
  EXPECT_EQ(dir, "Neu") << "typed text, as typed";
  EXPECT_EQ(GetCurrentDir(), kRoot);
}

}  // namespace
