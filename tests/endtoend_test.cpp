// The tip's whole job as a host and a person see it: Bootlog.dll loaded with LoadLibraryA,
// OK clicked with the mouse (or the host's ModulSaveChanges), the real folder dialog
// walked to c:\TOOLS with the keyboard and the mouse, the message confirmed, the restart
// declined; then the files on disk, the broadcasts and the answers of the exports.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bootlog/BootlogForm.h"
#include "support/HostHarness.h"
#include "support/TestSupport.h"

namespace {

const char *const kAutoexec = "c:\\AUTOEXEC.BAT";
const std::string kBefore = "@echo off\r\nSET PATH=C:\\WINDOWS;C:\\WINDOWS\\COMMAND\r\n";
const std::string kLogBat =
    "@echo off\r\n"
    "echo ***** Protokolleintrag *****\r\n"
    "echo. | date | find /v \"Neues\" >> c:\\winboot.log\r\n"
    "echo. | time | find /v \"Neue\" >> c:\\winboot.log\r\n"
    "echo. >> c:\\winboot.log\r\n";

POINT Centre(const RECT &r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

// As a person would: the drive list reached by its caption's accelerator and drive C
// typed, TOOLS opened with a double click, OK clicked.
// The dialog works in the process's current directory: it shows where the dialog is.
bool InDirectory(const char *dir) {
  char now[MAX_PATH] = {0};
  GetCurrentDirectoryA(MAX_PATH, now);
  return lstrcmpiA(now, dir) == 0;
}

void WalkToTools(HWND dialog) {
  RealAltKey('L');
  RealKey('C');
  HWND list = FindControl(dialog, "DirList");
  LRESULT index = -1;
  WaitUntil([&] {
    index = SendMessageA(list, LB_FINDSTRINGEXACT, WPARAM(-1), LPARAM("TOOLS"));
    return InDirectory("c:\\") && index >= 0;
  });
  if (index < 0) {
    ADD_FAILURE() << "no TOOLS in the directory list";
    PostMessageA(dialog, WM_CLOSE, 0, 0);
    return;
  }
  RECT item;
  SendMessageA(list, LB_GETITEMRECT, WPARAM(index), LPARAM(&item));
  MapWindowPoints(list, nullptr, reinterpret_cast<POINT *>(&item), 2);
  RealClickAt(Centre(item), true);
  WaitUntil([] { return InDirectory("c:\\TOOLS"); });
  RealClickAt(Centre(ScreenRectOf(FindControl(dialog, "OKButton"))));
}

class EndToEnd : public testing::Test {
 protected:
  void SetUp() override {
    GetCurrentDirectoryA(MAX_PATH, cwd_);
    PrepareBootDrive(kBefore.c_str(), "Datum\r\nZeit\r\n\r\n");
    RemoveTree("c:\\TOOLS");
    CreateDirectoryA("c:\\TOOLS", nullptr);
    boxes_.OnFolderDialog = WalkToTools;
    // The message is confirmed, the restart declined.
    boxes_.Answer = [](const SeenBox &b) { return b.text.find("Neustart") != std::string::npos ? IDNO : IDOK; };
  }
  void TearDown() override {
    SetCurrentDirectoryA(cwd_);
    RemoveTree("c:\\TOOLS");
    PrepareBootDrive(nullptr, nullptr);
  }
  HWND Open(int os = 13, int mask = 4096) {
    host_.CreateDefault(0, os, mask);
    HWND tip = FindTipWindow();
    // Clear of the windows other test programs put near the top left of the shared display.
    SendMessageA(tip, host_.message, 10, 640);
    SendMessageA(tip, host_.message, 11, 300);
    return tip;
  }
  std::vector<std::string> BoxTexts() {
    std::vector<std::string> t;
    for (const SeenBox &b : boxes_.Boxes()) t.push_back(b.text);
    return t;
  }
  // The drive list names its drives in lower case, and the folder is written as the
  // dialog returns it.
  const std::vector<std::string> kSavedBoxes = {
      "Datei LOG.BAT wurde im Verzeichnis c:\\TOOLS erstellt !",
      "Um diese Änderung zu aktivieren, ist ein Neustart des Systems erforderlich. Soll der "
      "Neustart jetzt durchgeführt werden ?"};
  // On Windows XP (13) a checked box also hears that this Windows does not run the hook.
  const std::vector<std::string> kSavedBoxesXP = {kSavedBoxes[0], AutoexecIgnoredNotice(0), kSavedBoxes[1]};

  char cwd_[MAX_PATH] = {0};
  BoxWatcher boxes_;
  HostModule host_;
};

TEST_F(EndToEnd, OkClickedWritesLogBatAndTheHookThenUndoAndOkRemoveIt) {
  HWND tip = Open();
  ASSERT_NE(tip, nullptr);
  BroadcastListener listener(host_.message);
  RealClick(FindControl(tip, "T263_CheckBox"));
  RealClick(FindControl(tip, "HotSpeedButtonOK"));
  EXPECT_EQ(boxes_.FolderDialogs(), 1);
  EXPECT_EQ(ReadTextFile("c:\\TOOLS\\LOG.BAT"), kLogBat);
  EXPECT_EQ(ReadTextFile(kAutoexec), kBefore + "@call c:\\TOOLS\\LOG.BAT\r\n");
  EXPECT_EQ(BoxTexts(), kSavedBoxesXP);
  EXPECT_EQ(listener.received, (std::vector<std::pair<WPARAM, LPARAM>>{{9999, 2}}));
  EXPECT_EQ(host_.changed(), 0);
  EXPECT_EQ(host_.nr(), 2);
  EXPECT_EQ(FindFolderDialog(GetCurrentThreadId()), nullptr);

  // Undo unchecks the box: the next OK takes the hook out again.
  boxes_.Clear();
  RealClick(FindControl(tip, "HotSpeedButtonUndo"));
  RealClick(FindControl(tip, "HotSpeedButtonOK"));
  EXPECT_EQ(boxes_.FolderDialogs(), 2);
  EXPECT_EQ(ReadTextFile(kAutoexec), kBefore);
  EXPECT_EQ(BoxTexts(), kSavedBoxes);
  EXPECT_EQ(listener.received, (std::vector<std::pair<WPARAM, LPARAM>>{{9999, 2}, {9999, 1}}));
  EXPECT_EQ(host_.nr(), 1);
}

TEST_F(EndToEnd, SaveChangesRunsTheSamePathAlsoFromTheLogView) {
  HWND tip = Open(1, 1);  // Windows 98: no notice
  ASSERT_NE(tip, nullptr);
  BroadcastListener listener(host_.message);
  RealClick(FindControl(tip, "T263_CheckBox"));
  RealClick(FindControl(tip, "T263_SpeedButton"));  // the log view: OK is disabled
  ASSERT_FALSE(IsEnabledControl(FindControl(tip, "HotSpeedButtonOK")));
  EXPECT_EQ(host_.save(), 1);
  EXPECT_EQ(boxes_.FolderDialogs(), 1);
  EXPECT_EQ(ReadTextFile("c:\\TOOLS\\LOG.BAT"), kLogBat);
  EXPECT_EQ(ReadTextFile(kAutoexec), kBefore + "@call c:\\TOOLS\\LOG.BAT\r\n");
  EXPECT_EQ(BoxTexts(), kSavedBoxes);
  EXPECT_EQ(listener.received, (std::vector<std::pair<WPARAM, LPARAM>>{{9999, 2}}));

  // A failure reaches the host as 0 and the user as the module's error box.
  boxes_.Clear();
  DeleteFileA(kAutoexec);
  EXPECT_EQ(host_.save(), 0);
  EXPECT_EQ(boxes_.FolderDialogs(), 1);  // no dialog for a missing AUTOEXEC.BAT
  std::vector<std::string> texts = BoxTexts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_NE(texts[0].find("c:\\AUTOEXEC.BAT"), std::string::npos) << texts[0];
  EXPECT_EQ(listener.received.size(), 1u);
}

// OK changes AUTOEXEC.BAT as it stands after the dialog, and only in the lines that call a
// LOG.BAT: what another program wrote meanwhile stays, a file merely named alike stays, and
// a hook to another folder then calls the LOG.BAT just written.
TEST_F(EndToEnd, OkChangesOnlyTheHooksOfAutoexecAsItIsAfterTheDialog) {
  const std::string hook = "@call c:\\TOOLS\\LOG.BAT\r\n";
  struct Case {
    const char *what;
    std::string before;
    bool checkedAtStart, click;  // the box as the window finds it; clicked before OK
    std::string meanwhile;       // appended while the dialog is open
    std::string after;
  } cases[] = {
      {"edited while the dialog is open", kBefore, false, true, "SET TEMP=C:\\TEMP\r\n",
       kBefore + "SET TEMP=C:\\TEMP\r\n" + hook},
      {"a file named alike survives an unchecked OK", kBefore + "CALL CATALOG.BAT\r\n@call C:\\OLD\\LOG.BAT\r\n",
       true, true, "", kBefore + "CALL CATALOG.BAT\r\n"},
      {"a hook to another folder", "@call C:\\OLD\\LOG.BAT\r\n" + kBefore, true, false, "", hook + kBefore},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    PrepareBootDrive(c.before.c_str(), nullptr);
    HWND tip = Open();
    ASSERT_NE(tip, nullptr);
    HWND box = FindControl(tip, "T263_CheckBox");
    EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED, c.checkedAtStart);
    boxes_.OnFolderDialog = [&](HWND dialog) {
      if (!c.meanwhile.empty()) WriteTextFile(kAutoexec, ReadTextFile(kAutoexec) + c.meanwhile);
      WalkToTools(dialog);
    };
    if (c.click) RealClick(box);
    RealClick(FindControl(tip, "HotSpeedButtonOK"));
    EXPECT_EQ(ReadTextFile(kAutoexec), c.after);
    EXPECT_EQ(ReadTextFile("c:\\TOOLS\\LOG.BAT"), kLogBat);
  }
}

// In the folder dialog an open drive list takes Enter and Escape for itself: Enter keeps
// the drive it shows, Escape goes back to the one before, and the dialog stays open until
// the user picks a folder.  The dialog is owned by the tip window it was opened from.
TEST_F(EndToEnd, EnterAndEscapeInAnOpenDriveListLeaveTheDialogOpen) {
  HWND tip = Open();
  ASSERT_NE(tip, nullptr);
  struct Step {
    const char *what;
    bool dialogOpen, dropped;
    LRESULT index;
  };
  std::vector<Step> steps;
  HWND owner = nullptr;
  LRESULT cIndex = -1, count = 0;
  boxes_.OnFolderDialog = [&](HWND dialog) {
    owner = GetWindow(dialog, GW_OWNER);
    HWND drives = FindControl(dialog, "DriveList");
    auto note = [&](const char *what) {
      steps.push_back({what, FindFolderDialog(GetWindowThreadProcessId(dialog, nullptr)) == dialog,
                       SendMessageA(drives, CB_GETDROPPEDSTATE, 0, 0) != 0,
                       SendMessageA(drives, CB_GETCURSEL, 0, 0)});
    };
    RealAltKey('L');  // the drive list by its caption's accelerator, drive C typed
    RealKey('C');
    cIndex = SendMessageA(drives, CB_GETCURSEL, 0, 0);
    count = SendMessageA(drives, CB_GETCOUNT, 0, 0);
    RealKey(VK_F4);
    RealKey(VK_DOWN);
    note("dropped, next drive");
    RealKey(VK_RETURN);
    note("Enter");
    RealKey(VK_F4);
    RealKey(VK_UP);
    RealKey(VK_ESCAPE);
    note("Escape");
    WalkToTools(dialog);
  };
  RealClick(FindControl(tip, "T263_CheckBox"));
  RealClick(FindControl(tip, "HotSpeedButtonOK"));
  EXPECT_EQ(owner, tip);
  ASSERT_GE(cIndex, 0);
  ASSERT_GT(count, cIndex + 1) << "no drive after C";
  ASSERT_EQ(steps.size(), 3u);
  const Step expected[] = {{"dropped, next drive", true, true, cIndex + 1},
                           {"Enter", true, false, cIndex + 1},
                           {"Escape", true, false, cIndex + 1}};
  for (size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(steps[i].what);
    EXPECT_TRUE(steps[i].dialogOpen);
    EXPECT_EQ(steps[i].dropped, expected[i].dropped);
    EXPECT_EQ(steps[i].index, expected[i].index);
  }
  // Only the folder walked to at the end was chosen.
  EXPECT_EQ(boxes_.FolderDialogs(), 1);
  EXPECT_EQ(ReadTextFile("c:\\TOOLS\\LOG.BAT"), kLogBat);
  EXPECT_EQ(ReadTextFile(kAutoexec), kBefore + "@call c:\\TOOLS\\LOG.BAT\r\n");
}

// After years of starts the log is longer than an edit box of Windows 95 holds: the view
// shows the newest entries, scrolled into sight, and stays under 64 KB.
TEST_F(EndToEnd, ALongLogShowsItsNewestEntries) {
  std::string log;
  for (int i = 0; log.size() < 200 * 1024; ++i)
    log += "Heute ist " + std::to_string(i) + "\r\nAktuelle Zeit: 07:15:00,00\r\n\r\n";
  log += "Neuester Eintrag\r\n";
  PrepareBootDrive(kBefore.c_str(), log.c_str());
  HWND tip = Open(1, 1);  // Windows 98: the view is the file alone
  ASSERT_NE(tip, nullptr);
  RealClick(FindControl(tip, "T263_SpeedButton"));
  HWND view = FindControl(tip, "T263_MemoWinBootLog");
  ASSERT_TRUE(IsShown(view));
  std::string text = TextOf(view);
  EXPECT_LT(text.size(), 65535u);
  ASSERT_GE(text.size(), 18u);
  EXPECT_EQ(text.substr(text.size() - 18), "Neuester Eintrag\r\n");
  EXPECT_EQ(text.find("Heute ist 0\r\n"), std::string::npos);
  // The newest line lies inside the view.
  LRESULT lines = SendMessageA(view, EM_GETLINECOUNT, 0, 0);
  LRESULT start = SendMessageA(view, EM_LINEINDEX, WPARAM(lines - 2), 0);
  LRESULT pos = SendMessageA(view, EM_POSFROMCHAR, WPARAM(start), 0);
  RECT client;
  GetClientRect(view, &client);
  short y = short(HIWORD(pos));
  EXPECT_GE(y, 0);
  EXPECT_LT(y, client.bottom);
  // Delete still removes the whole file.
  boxes_.Answer = [](const SeenBox &) { return IDOK; };
  RealClick(FindControl(tip, "T263_SpeedButtonDEL"));
  EXPECT_EQ(GetFileAttributesA("c:\\winboot.log"), INVALID_FILE_ATTRIBUTES);
}

// Windows XP records its starts itself: the view opens without c:\winboot.log and shows
// them (Wine's System log reads as empty, which one line says).
TEST_F(EndToEnd, OnXpTheViewOpensWithoutTheLogFile) {
  PrepareBootDrive(kBefore.c_str(), nullptr);
  HWND tip = Open();
  RealClick(FindControl(tip, "T263_SpeedButton"));
  EXPECT_EQ(TextOf(FindControl(tip, "T263_MemoWinBootLog")),
            "Rechnerstarts, die Windows selbst festgehalten hat:\r\n"
            "Im Ereignisprotokoll System ist kein Rechnerstart verzeichnet.\r\n");
  EXPECT_TRUE(BoxTexts().empty());
}

}  // namespace
