// The tip's whole job as a host and a person see it: Bootlog.dll loaded with LoadLibraryA,
// OK clicked with the mouse (or the host's ModulSaveChanges), the real folder dialog
// walked to c:\TOOLS with the keyboard and the mouse, the message confirmed, the restart
// declined; then the files on disk, the broadcasts and the answers of the exports.
#include <gtest/gtest.h>

#include <string>
#include <vector>

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
void WalkToTools(HWND dialog) {
  RealAltKey('L');
  RealKey('C');
  HWND list = FindControl(dialog, "DirList");
  LRESULT index = SendMessageA(list, LB_FINDSTRINGEXACT, WPARAM(-1), LPARAM("TOOLS"));
  if (index < 0) {
    ADD_FAILURE() << "no TOOLS in the directory list";
    PostMessageA(dialog, WM_CLOSE, 0, 0);
    return;
  }
  RECT item;
  SendMessageA(list, LB_GETITEMRECT, WPARAM(index), LPARAM(&item));
  MapWindowPoints(list, nullptr, reinterpret_cast<POINT *>(&item), 2);
  RealClickAt(Centre(item), true);
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
  HWND Open() {
    host_.CreateDefault();
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
  EXPECT_EQ(BoxTexts(), kSavedBoxes);
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
  HWND tip = Open();
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

}  // namespace
